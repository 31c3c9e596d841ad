#pragma once
// The Firebird connection: an attachment in UTF-8 with at most one snapshot
// transaction.

#include <memory>

#include "platform/db/Database.h"
#include "platform/db/firebird/FbSession.h"

namespace zrv::db::fb {

class FbConnection : public Connection {
 public:
  FbConnection() : session_(std::make_shared<Session>()) {}
  ~FbConnection() override;

  void Open(const ConnectParams& params) override;
  void Close() override;
  bool Connected() const override { return session_->Connected(); }

  bool InTransaction() const override { return session_->InTransaction(); }
  void StartTransaction() override { session_->StartTransaction(); }
  void Commit() override { session_->Commit(); }
  void Rollback() override { session_->Rollback(); }

  std::unique_ptr<Query> NewQuery() override;
  std::unique_ptr<Transaction> Begin(Isolation isolation) override;

  Session& GetSession() { return *session_; }

 private:
  std::shared_ptr<Session> session_;
};

// The Firebird connection behind a Connection; DbError when it is another kind.
FbConnection& AsFirebird(Connection& connection);

}  // namespace zrv::db::fb
