#include "import/RunTransactions.h"

#include <exception>

namespace zrv::import {

namespace {
const char* const kRowSavepoint = "zrv_row";
const char* const kEntrySavepoint = "zrv_apart";

void RollBackQuietly(std::unique_ptr<db::Transaction>& tx) {
  if (!tx) return;
  try {
    if (tx->Active()) tx->Rollback();
  } catch (const std::exception&) {
    // The connection is gone, and the engine dropped the transaction with it.
  }
  tx.reset();
}
}  // namespace

RunTransactions::RunTransactions(db::Connection& connection, bool dryRun)
    : connection_(connection), dryRun_(dryRun), shortTransactions_(connection) {
  if (dryRun_) batch_ = connection_.Begin(db::Isolation::kSnapshot);
}

RunTransactions::~RunTransactions() {
  RollBackQuietly(held_);
  RollBackQuietly(batch_);
}

std::unique_ptr<RowTransaction> RunTransactions::BeginRow() {
  if (!batch_) {
    batch_ = connection_.Begin(db::Isolation::kSnapshotNoWait);
    batchBegan_ = std::chrono::steady_clock::now();
  }
  return std::make_unique<RowTransaction>(*batch_);
}

bool RunTransactions::CommitDue() const {
  return !dryRun_ && batch_ && std::chrono::steady_clock::now() - batchBegan_ >= kBatchInterval;
}

void RunTransactions::Commit() {
  if (dryRun_ || !batch_) return;
  // Taken out first: a commit that fails leaves nothing to commit again.
  std::unique_ptr<db::Transaction> batch = std::move(batch_);
  batch->Commit();
}

void RunTransactions::Abandon() {
  if (!dryRun_) RollBackQuietly(batch_);
}

void RunTransactions::Outside(const std::function<void(db::Transaction&)>& work) {
  if (dryRun_) {
    work(*batch_);
    return;
  }
  std::unique_ptr<db::Transaction> tx = connection_.Begin(db::Isolation::kSnapshot);
  work(*tx);
  tx->Commit();
}

void RunTransactions::Apart(const std::function<void(db::Transaction&)>& work) {
  if (!dryRun_) {
    shortTransactions_.Apart(work);
    return;
  }
  if (!held_) held_ = connection_.Begin(db::Isolation::kReadCommitted);
  db::Savepoint entry(*held_, kEntrySavepoint);
  work(*held_);
  entry.Release();
}

std::optional<int32_t> RunTransactions::Known(const char* table, const std::string& text) const {
  const auto found = known_.find({table, text});
  if (found == known_.end()) return std::nullopt;
  return found->second;
}

void RunTransactions::Remember(const char* table, const std::string& text, int32_t id) {
  known_[{table, text}] = id;
}

RowTransaction::RowTransaction(db::Transaction& batch)
    : batch_(batch), savepoint_(batch, kRowSavepoint) {}

}  // namespace zrv::import
