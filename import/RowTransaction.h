#pragma once
// The transactions of an import run.
//
// RowTransaction: everything one contract row reads and writes, its look-ups
// included, runs in one snapshot transaction, begun before the row is read and
// committed once it is stored (classifier entries go apart, committed at once).
// In a dry run the row is a savepoint inside the run's transaction instead, so
// that a refused row leaves nothing behind within the run either.
//
// DryRunTransaction: a dry run keeps the whole run in one transaction that it
// rolls back when the run ends. Classifier entries go into a second one, held
// open beside it (Connection::SetHoldApart) and rolled back too: there they
// stay when a row's savepoint is rolled back, as they stay in a real run.

#include "platform/db/Database.h"

namespace zrv::import {

class RowTransaction {
 public:
  RowTransaction(db::Connection& db, bool savepoint);
  // Rolls back what is still open (an error while unwinding is not reported).
  ~RowTransaction();
  RowTransaction(const RowTransaction&) = delete;
  RowTransaction& operator=(const RowTransaction&) = delete;

  void Commit();
  void Rollback();

 private:
  void Run(const char* sql);

  db::Connection& db_;
  bool savepoint_;
  bool open_ = true;
};

class DryRunTransaction {
 public:
  // Does nothing when `on` is false.
  DryRunTransaction(db::Connection& db, bool on);
  ~DryRunTransaction();
  DryRunTransaction(const DryRunTransaction&) = delete;
  DryRunTransaction& operator=(const DryRunTransaction&) = delete;

 private:
  db::Connection& db_;
  bool on_;
};

}  // namespace zrv::import
