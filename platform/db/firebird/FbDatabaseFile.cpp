// Creating, tuning and dropping database files, and running schema statements
// as written.

#include "platform/db/Firebird.h"
#include "platform/db/Transaction.h"
#include "platform/db/firebird/FbConnection.h"
#include "platform/db/firebird/FbStatus.h"

namespace zrv::db {

namespace {

const char kDatabaseCharset[] = "WIN1251";
constexpr int kPageSize = 8192;
constexpr int kDialect = SQL_DIALECT_V5;
const char kNotOpenTransaction[] =
    "A statement as written runs only in a connection's open transaction.";

}  // namespace

std::unique_ptr<Connection> CreateFirebirdDatabase(const ConnectParams& params, bool forcedWrites) {
  fb::Dpb dpb = fb::AttachDpb(params.userName, params.password);
  dpb.AddNumber(isc_dpb_sql_dialect, kDialect);
  dpb.AddString(isc_dpb_set_db_charset, kDatabaseCharset);
  dpb.AddNumber(isc_dpb_page_size, kPageSize);
  dpb.AddNumber(isc_dpb_force_write, forcedWrites ? 1 : 0);
  ISC_STATUS_ARRAY status;
  isc_db_handle db = 0;
  isc_create_database(status, 0, params.serverName.c_str(), &db, dpb.Size(), dpb.Data(), 0);
  fb::Check(status);
  auto connection = std::make_unique<fb::FbConnection>();
  connection->GetSession().AttachCreated(db);
  return connection;
}

void SetForcedWrites(const ConnectParams& params, bool on) {
  fb::Dpb dpb = fb::AttachDpb(params.userName, params.password);
  dpb.AddNumber(isc_dpb_force_write, on ? 1 : 0);
  ISC_STATUS_ARRAY status;
  isc_db_handle db = 0;
  isc_attach_database(status, 0, params.serverName.c_str(), &db, dpb.Size(), dpb.Data());
  fb::Check(status);
  isc_detach_database(status, &db);
  fb::Check(status);
}

void ExecuteRaw(Connection& connection, const std::string& sql) {
  fb::Session& session = fb::AsFirebird(connection).GetSession();
  session.ForgetStatements();
  session.InTransaction([&](isc_tr_handle* tr) {
    ISC_STATUS_ARRAY status;
    isc_dsql_execute_immediate(status, session.Handle(), tr, 0, sql.c_str(), kDialect, nullptr);
    fb::Check(status);
  });
}

void ExecuteRaw(Transaction& tx, const std::string& sql) {
  auto* open = dynamic_cast<OpenTransaction*>(&tx);
  if (!open) throw DbError(kNotOpenTransaction);
  ExecuteRaw(open->GetConnection(), sql);
}

void DropFirebirdDatabase(Connection& connection) {
  fb::AsFirebird(connection).GetSession().Drop();
}

}  // namespace zrv::db
