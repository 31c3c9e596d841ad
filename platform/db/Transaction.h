#pragma once
// The transaction rule of every writing operation: start a transaction only
// when none is open, commit only the one started here, and on an error roll
// back only that one.
//
//   OwnTransaction tx(db);
//   ... statements ...
//   tx.Commit();  // commits only when this object started the transaction
//
// Leaving the scope without Commit (an exception) rolls back a transaction
// started here and leaves a caller's transaction untouched; the exception
// travels on.

#include <string>

#include "platform/db/Database.h"

namespace zrv::db {

// The connection's open transaction seen as a Transaction, for code that
// takes one: its queries are the connection's, Commit and Rollback end the
// connection's open transaction. Destroying it ends nothing.
class OpenTransaction : public Transaction {
 public:
  explicit OpenTransaction(Connection& connection) : connection_(connection) {}
  std::unique_ptr<Query> NewQuery() override { return connection_.NewQuery(); }
  void Commit() override { connection_.Commit(); }
  void Rollback() override { connection_.Rollback(); }
  bool Active() const override { return connection_.InTransaction(); }
  // The connection whose open transaction this is.
  Connection& GetConnection() const { return connection_; }

 private:
  Connection& connection_;
};

// A savepoint in a transaction, so that the work done after it can be undone
// without ending the transaction (a row of a dry run, an entry of a held
// transaction). Released or rolled back once; one left open when it is
// destroyed is rolled back and released (an error then is not reported: the
// error that left it open travels on).
class Savepoint {
 public:
  Savepoint(Transaction& tx, std::string name);
  ~Savepoint();
  Savepoint(const Savepoint&) = delete;
  Savepoint& operator=(const Savepoint&) = delete;

  // Keeps the work done since the savepoint.
  void Release();
  // Undoes it.
  void RollBack();

 private:
  void Run(const std::string& sql);

  Transaction& tx_;
  std::string name_;
  bool open_ = true;
};

class OwnTransaction {
 public:
  explicit OwnTransaction(Connection& connection);
  ~OwnTransaction();
  OwnTransaction(const OwnTransaction&) = delete;
  OwnTransaction& operator=(const OwnTransaction&) = delete;

  // True when this object started the transaction.
  bool Owns() const { return owns_; }
  // The transaction the work runs in (the caller's or the one started here),
  // for the stores, which take a Transaction.
  Transaction& Get() { return open_; }
  void Commit();
  // Rolls back a transaction started here (no effect otherwise).
  void Rollback();

 private:
  Connection& connection_;
  OpenTransaction open_;
  bool owns_ = false;
  bool done_ = false;
};

}  // namespace zrv::db
