#pragma once
// A Transaction object on a Firebird attachment: a transaction handle of its
// own beside the connection's open transaction.

#include <memory>

#include "platform/db/Database.h"
#include "platform/db/firebird/FbSession.h"

namespace zrv::db::fb {

class FbTransaction : public Transaction {
 public:
  FbTransaction(std::shared_ptr<Session> session, Isolation isolation);
  ~FbTransaction() override;

  std::unique_ptr<Query> NewQuery() override;
  void Commit() override;
  void Rollback() override;
  bool Active() const override { return tr_ != 0; }

 private:
  std::shared_ptr<Session> session_;
  isc_tr_handle tr_ = 0;
};

}  // namespace zrv::db::fb
