#pragma once
// The transaction rule of every writing operation: start a transaction only
// when none is open, commit only the one started here, and on an error roll
// back only that one.
//
//   OwnTransaction tx(db);
//   ... statements ...
//   tx.Commit();          // commits only when this object started the
//   transaction
//
// Leaving the scope without Commit (an exception) rolls back a transaction
// started here and leaves a caller's transaction untouched; the exception
// travels on.

#include "platform/db/Database.h"

namespace zrv::db {

class OwnTransaction {
 public:
  explicit OwnTransaction(Connection& connection);
  ~OwnTransaction();
  OwnTransaction(const OwnTransaction&) = delete;
  OwnTransaction& operator=(const OwnTransaction&) = delete;

  // True when this object started the transaction.
  bool Owns() const { return owns_; }
  void Commit();
  // Rolls back a transaction started here (no effect otherwise).
  void Rollback();

 private:
  Connection& connection_;
  bool owns_ = false;
  bool done_ = false;
};

}  // namespace zrv::db
