#pragma once
// The transactions of an import run, as objects.
//
// The contract rows of a run are stored in batches: one snapshot transaction
// holds the rows of a batch, each row under a savepoint of its own, released
// when the row is stored and rolled back when it is refused, so that a row
// stays all-or-nothing. A real run commits the batch (Commit) when CommitDue
// says so (kBatchInterval after the batch began), before a message box, before
// a row is tried again and when the run ends; the next row begins the next
// batch. A commit costs a write to disk, a savepoint nothing measurable: a
// batch of rows costs one. A crash loses at most the open batch, which an
// import of the same workbook again stores.
//
// A batch does not wait for a row another workstation's batch holds
// (db::Isolation::kSnapshotNoWait): the row meets a conflict at once, is
// rolled back to its savepoint, its batch commits (which lets a batch waiting
// for this one go on) and the row is tried again after a short random pause
// (ImportRun), by then the other batch, open for about 100 ms, has committed.
// Two batches that waited for each other's rows would wait for the engine's
// deadlock scan or the lock time-out, 10 s each.
//
// A dry run is the same mechanism with one batch for the whole run, never
// committed and rolled back when the run ends.
//
// Each classifier entry goes into a short read-committed transaction committed
// at once (Apart), so that it stays when the row is refused and other
// workstations see it. A dry run puts them into a second transaction held
// open beside the batch, each under a savepoint, and rolls it back at the
// end too: there they stay when a row's savepoint is rolled back, as they stay
// in a real run.

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "import/EntryTransactions.h"
#include "platform/db/Database.h"
#include "platform/db/Transaction.h"

namespace zrv::import {

class RowTransaction;

class RunTransactions : public EntryTransactions {
 public:
  // How long a batch stays open before CommitDue says to commit it: other
  // workstations wait at most about this long for the rows it holds.
  static constexpr std::chrono::milliseconds kBatchInterval{100};

  RunTransactions(db::Connection& connection, bool dryRun);
  // Rolls back what is still open: a dry run's batch and entries, or a real
  // run's batch that was not committed (an error then is not reported: the
  // connection may be gone, and the engine dropped the transactions with it).
  ~RunTransactions() override;
  RunTransactions(const RunTransactions&) = delete;
  RunTransactions& operator=(const RunTransactions&) = delete;

  // Begins a row: a savepoint in the open batch, beginning a batch when none
  // is open. One row at a time.
  std::unique_ptr<RowTransaction> BeginRow();
  // True when a real run's open batch has been open for kBatchInterval.
  bool CommitDue() const;
  // Commits a real run's open batch; nothing is open afterwards. A dry run's
  // batch stays open.
  void Commit();
  // Rolls back a real run's open batch without reporting an error: its
  // connection is gone or its commit failed.
  void Abandon();

  // Runs work outside any row (the municipality, its settlements): in a dry
  // run in its batch, else in a snapshot transaction of its own, committed
  // when work returns.
  void Outside(const std::function<void(db::Transaction&)>& work);
  void Apart(const std::function<void(db::Transaction&)>& work) override;
  std::optional<int32_t> Known(const char* table, const std::string& text) const override;
  void Remember(const char* table, const std::string& text, int32_t id) override;

 private:
  db::Connection& connection_;
  const bool dryRun_;
  ShortTransactions shortTransactions_;
  std::unique_ptr<db::Transaction> batch_;  // the open batch, if any
  std::chrono::steady_clock::time_point batchBegan_;
  std::unique_ptr<db::Transaction> held_;  // a dry run's classifier entries
  std::map<std::pair<std::string, std::string>, int32_t> known_;
};

// One contract row's savepoint in the open batch; rolled back when it is
// destroyed without Commit (an error then is not reported).
class RowTransaction {
 public:
  explicit RowTransaction(db::Transaction& batch);
  RowTransaction(const RowTransaction&) = delete;
  RowTransaction& operator=(const RowTransaction&) = delete;

  // The transaction the row reads and writes in: the batch's.
  db::Transaction& Get() { return batch_; }
  // Keeps the row's work in the batch (it is stored when the batch commits).
  void Commit() { savepoint_.Release(); }
  void Rollback() { savepoint_.RollBack(); }

 private:
  db::Transaction& batch_;
  db::Savepoint savepoint_;
};

}  // namespace zrv::import
