#include "app/DatabaseConnection.h"

#include <new>

#include "app/DetachedQuery.h"
#include "app/TerminationSignals.h"
#include "platform/db/Firebird.h"

namespace zrv::app {

namespace {
const char kConnectErrorPrefix[] = "Грешка при свързване към БД (";
const char kConnectErrorSuffix[] = ")\r";
}  // namespace

bool ConnectDatabase(db::Connection& connection, const std::string& userName,
                     const std::string& password, const std::string& serverName,
                     std::string& errorText) {
  errorText.clear();
  try {
    connection.Close();
    connection.Open(db::ConnectParams{userName, password, serverName});
    ReclaimTerminationSignals();
    return true;
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    errorText =
        kConnectErrorPrefix + serverName + kConnectErrorSuffix + e.what();
    return false;
  }
}

bool DatabaseBusy(const std::string& serverName) {
  try {
    auto probe = db::MakeFirebirdConnection();
    probe->Open(db::ConnectParams{"SYSDBA", "", serverName});
  } catch (const db::DatabaseBusyError&) {
    return true;
  } catch (const db::DbError&) {
    // Refused for another reason (a server wants a password): the login that
    // follows says why.
  }
  return false;
}

std::unique_ptr<db::Query> NewQuery(db::Connection* connection) {
  if (connection) return connection->NewQuery();
  return std::make_unique<DetachedQuery>();
}

}  // namespace zrv::app
