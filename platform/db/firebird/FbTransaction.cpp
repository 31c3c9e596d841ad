#include "platform/db/firebird/FbTransaction.h"

#include "platform/db/firebird/FbQuery.h"

namespace zrv::db::fb {

FbTransaction::FbTransaction(std::shared_ptr<Session> session, Isolation isolation)
    : session_(std::move(session)), tr_(session_->BeginApart(isolation)) {}

FbTransaction::~FbTransaction() {
  if (!tr_) return;
  try {
    session_->RollbackApart(&tr_);
  } catch (const std::exception&) {
    // Left open by an error that travels on, or by a connection that is gone
    // (the engine dropped the transaction with it); that error wins.
  }
}

std::unique_ptr<Query> FbTransaction::NewQuery() {
  return std::make_unique<FbQuery>(session_, &tr_);
}

void FbTransaction::Commit() { session_->CommitApart(&tr_); }

void FbTransaction::Rollback() { session_->RollbackApart(&tr_); }

}  // namespace zrv::db::fb
