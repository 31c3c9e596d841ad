#include "import/RunTransactions.h"

#include <exception>

namespace zrv::import {

namespace {
const char* const kRowSavepoint = "zrv_row";
const char* const kEntrySavepoint = "zrv_apart";
}  // namespace

RunTransactions::RunTransactions(db::Connection& connection, bool dryRun)
    : connection_(connection), shortTransactions_(connection) {
  if (dryRun) run_ = connection_.Begin(db::Isolation::kSnapshot);
}

RunTransactions::~RunTransactions() {
  for (auto* tx : {&held_, &run_}) {
    if (!*tx || !(*tx)->Active()) continue;
    try {
      (*tx)->Rollback();
    } catch (const std::exception&) {
      // As above.
    }
  }
}

std::unique_ptr<RowTransaction> RunTransactions::BeginRow() {
  if (run_) return std::make_unique<RowTransaction>(*run_);
  return std::make_unique<RowTransaction>(
      connection_.Begin(db::Isolation::kSnapshot));
}

void RunTransactions::Outside(
    const std::function<void(db::Transaction&)>& work) {
  if (run_) {
    work(*run_);
    return;
  }
  std::unique_ptr<db::Transaction> tx =
      connection_.Begin(db::Isolation::kSnapshot);
  work(*tx);
  tx->Commit();
}

void RunTransactions::Apart(const std::function<void(db::Transaction&)>& work) {
  if (!run_) {
    shortTransactions_.Apart(work);
    return;
  }
  if (!held_) held_ = connection_.Begin(db::Isolation::kReadCommitted);
  db::Savepoint entry(*held_, kEntrySavepoint);
  work(*held_);
  entry.Release();
}

RowTransaction::RowTransaction(std::unique_ptr<db::Transaction> own)
    : own_(std::move(own)), run_(*own_) {}

RowTransaction::RowTransaction(db::Transaction& run)
    : run_(run), savepoint_(std::in_place, run, kRowSavepoint) {}

RowTransaction::~RowTransaction() {
  // The transaction of its own rolls itself back; the savepoint rolls back to
  // itself.
}

void RowTransaction::Commit() {
  if (savepoint_)
    savepoint_->Release();
  else
    own_->Commit();
}

void RowTransaction::Rollback() {
  if (savepoint_)
    savepoint_->RollBack();
  else if (own_->Active())
    own_->Rollback();
}

}  // namespace zrv::import
