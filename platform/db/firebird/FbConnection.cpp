#include "platform/db/firebird/FbConnection.h"

#include "platform/db/Firebird.h"
#include "platform/db/firebird/FbQuery.h"
#include "platform/db/firebird/FbTransaction.h"

namespace zrv::db {

namespace fb {

FbConnection::~FbConnection() { session_->Detach(); }

void FbConnection::Open(const ConnectParams& params) {
  session_->Attach(params.serverName, params.userName, params.password);
}

void FbConnection::Close() { session_->Detach(); }

std::unique_ptr<Query> FbConnection::NewQuery() { return std::make_unique<FbQuery>(session_); }

std::unique_ptr<Transaction> FbConnection::Begin(Isolation isolation) {
  return std::make_unique<FbTransaction>(session_, isolation);
}

FbConnection& AsFirebird(Connection& connection) {
  auto* firebird = dynamic_cast<FbConnection*>(&connection);
  if (!firebird) throw DbError("The connection is not a Firebird connection.");
  return *firebird;
}

}  // namespace fb

std::unique_ptr<Connection> MakeFirebirdConnection() {
  return std::make_unique<fb::FbConnection>();
}

ConnectionCounts CountWork(Connection& connection) {
  const fb::Session& session = fb::AsFirebird(connection).GetSession();
  return {session.Started(), session.Committed(), session.RolledBack(), session.PreparedCount()};
}

}  // namespace zrv::db
