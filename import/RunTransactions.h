#pragma once
// The transactions of an import run, as objects.
//
// A real run gives each contract row a snapshot transaction of its own, begun
// before the row is read and committed once it is stored, so that its
// look-ups and everything it stores share it; each classifier entry goes into
// a short read-committed transaction committed at once (Apart), so that it
// stays when the row is refused and other workstations see it.
//
// A dry run keeps everything in one snapshot transaction that it rolls back
// when the run ends, each row a savepoint in it (a refused row leaves nothing
// for the rows after it). Classifier entries go into a second transaction held
// open beside it, each under a savepoint, and rolled back at the end too:
// there they stay when a row's savepoint is rolled back, as they stay in a
// real run.

#include <functional>
#include <memory>
#include <optional>

#include "import/EntryTransactions.h"
#include "platform/db/Database.h"
#include "platform/db/Transaction.h"

namespace zrv::import {

class RowTransaction;

class RunTransactions : public EntryTransactions {
 public:
  RunTransactions(db::Connection& connection, bool dryRun);
  // Rolls back what a dry run holds (an error then is not reported: the
  // connection is gone, and the engine dropped the transactions with it).
  ~RunTransactions() override;
  RunTransactions(const RunTransactions&) = delete;
  RunTransactions& operator=(const RunTransactions&) = delete;

  // Begins a row's transaction.
  std::unique_ptr<RowTransaction> BeginRow();
  // Runs work outside any row (the municipality, its settlements): in a dry
  // run in the run's transaction, else in a snapshot transaction of its own,
  // committed when work returns.
  void Outside(const std::function<void(db::Transaction&)>& work);
  void Apart(const std::function<void(db::Transaction&)>& work) override;

 private:
  db::Connection& connection_;
  ShortTransactions shortTransactions_;
  std::unique_ptr<db::Transaction> run_;   // a dry run's, else null
  std::unique_ptr<db::Transaction> held_;  // a dry run's classifier entries
};

// The transaction one contract row reads and writes in; rolled back when it is
// destroyed without Commit (an error then is not reported).
class RowTransaction {
 public:
  // A transaction of its own, or a savepoint in a dry run's.
  explicit RowTransaction(std::unique_ptr<db::Transaction> own);
  explicit RowTransaction(db::Transaction& run);
  ~RowTransaction();
  RowTransaction(const RowTransaction&) = delete;
  RowTransaction& operator=(const RowTransaction&) = delete;

  db::Transaction& Get() { return own_ ? *own_ : run_; }
  void Commit();
  void Rollback();

 private:
  std::unique_ptr<db::Transaction> own_;
  db::Transaction& run_;
  std::optional<db::Savepoint> savepoint_;
};

}  // namespace zrv::import
