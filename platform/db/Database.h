#pragma once
// The database as the rest of the program sees it: one connection and queries
// on it. Domain code speaks only to these interfaces; platform/db/firebird
// implements them.
//
// Texts cross this interface as UTF-8; the implementation converts to and from
// the database's character set. Dates cross it as day numbers (see
// common/Dates.h), 0 being the empty date. Every failing operation throws
// db::DbError carrying the engine's message.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "common/Error.h"

namespace zrv::db {

// The name by which every query refers to the connection.
inline constexpr const char* kDatabaseName = "prop_db";

class DbError : public zrv::Error {
 public:
  using zrv::Error::Error;
};

// The connection itself is gone (the engine or the server shut it, the network
// failed): nothing more can be done on it.
class ConnectionLostError : public DbError {
 public:
  using DbError::DbError;
};

// An insert or update met a row with the same unique key (another workstation
// may have stored it a moment earlier).
class DuplicateKeyError : public DbError {
 public:
  using DbError::DbError;
};

// Another transaction holds or has just changed what a statement wanted to
// write: a lock conflict, an update conflict, a deadlock, or a lock wait that
// reached its time-out. Trying the work again in a new transaction usually
// succeeds.
class ConflictError : public DbError {
 public:
  using DbError::DbError;
};

// The database file is held by another program that does not share it.
class DatabaseBusyError : public DbError {
 public:
  using DbError::DbError;
};

// The database itself cannot go on: its disk is full or failing, it is damaged
// (an internal consistency check, a generator or table that should be there is
// not), or it was shut down. No row's data causes it, and the rows after it
// would fail the same way.
class DatabaseFailureError : public DbError {
 public:
  using DbError::DbError;
};

// The database gave no answer within the wait limit (a frozen server, a
// program that holds the embedded file and does not run), or the statement
// was aborted because the program must stop. The attachment is given up, as
// when the connection is lost; the message says which.
class NoAnswerError : public ConnectionLostError {
 public:
  using ConnectionLostError::ConnectionLostError;
};

// What a clerk is told then, followed by ": " and the database's name.
inline constexpr const char* kDatabaseBusy = "Базата данни е заета от друга програма";
// The same when that program holds the file and does not answer (it is
// stopped or hangs), so an attach would wait for it without end.
inline constexpr const char* kDatabaseNotAnswering =
    "Базата данни е заета от друга програма, която не отговаря";

// One column of the current row of an open query. Null reads as "", 0 or the
// empty date.
class Field {
 public:
  virtual ~Field() = default;
  virtual const std::string& Name() const = 0;
  virtual bool IsNull() const = 0;
  virtual std::string AsString() const = 0;
  virtual int32_t AsInteger() const = 0;
  virtual double AsFloat() const = 0;
  virtual double AsDateTime() const = 0;
};

// A statement with named parameters (":name"), run once or opened as a result
// set that is read forwards (First, Next, Eof), or jumped to its Last row.
// Created by Connection::NewQuery for one operation; the creator owns it.
// Setting the SQL text clears the parameters and closes the query.
class Query {
 public:
  virtual ~Query() = default;
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;

  // "prop_db" when bound to a connection, empty otherwise.
  virtual const std::string& DatabaseName() const = 0;

  virtual void SetSQL(const std::string& sql) = 0;
  virtual const std::string& SQL() const = 0;

  virtual void SetInteger(const std::string& param, int32_t value) = 0;
  virtual void SetSmallInt(const std::string& param, int16_t value) = 0;
  virtual void SetString(const std::string& param, const std::string& value) = 0;
  virtual void SetFloat(const std::string& param, double value) = 0;
  virtual void SetDateTime(const std::string& param, double value) = 0;
  virtual void SetNull(const std::string& param) = 0;

  // Runs a statement that returns no rows.
  virtual void Execute() = 0;
  // Runs a select and positions on its first row (Eof when there is none).
  virtual void Open() = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  virtual void First() = 0;
  virtual void Next() = 0;
  virtual void Last() = 0;
  virtual bool Eof() const = 0;
  virtual int RecordCount() const = 0;

  virtual int FieldCount() const = 0;
  // Columns of the current row; FieldByName throws DbError for a missing
  // column, FindField gives nullptr. Names compare without regard to letter
  // case.
  virtual const Field& FieldAt(int index) const = 0;
  virtual const Field& FieldByName(const std::string& name) const = 0;
  virtual const Field* FindField(const std::string& name) const = 0;

 protected:
  Query() = default;
};

// How a transaction sees the database.
enum class Isolation {
  // As it was when the transaction began, plus the transaction's own changes:
  // a contract row's look-ups and writes, a dry run. A write waits for a row
  // another transaction holds, up to the lock time-out (10 s).
  kSnapshot,
  // Snapshot, and a row another transaction holds fails the statement at once
  // (db::ConflictError): a batch of rows holds the locks of many rows, and two
  // batches that waited for each other's rows would wait for the engine's
  // deadlock scan or the lock time-out (10 s each).
  kSnapshotNoWait,
  // Each statement sees what is committed when it runs: the short
  // transactions of entries other workstations must see at once.
  kReadCommitted,
  // Read committed, and a row another transaction holds fails the statement
  // at once (db::ConflictError) instead of being waited for: whether another
  // workstation is at work on something.
  kReadCommittedNoWait,
};

// One transaction begun on a connection (Connection::Begin), apart from any
// other: the statements of its queries run in it and nowhere else. It ends with
// Commit or Rollback; one destroyed while still open is rolled back (an error
// of that rollback is not reported: the connection is gone then). The
// connection must outlive it, and it must outlive its queries.
class Transaction {
 public:
  virtual ~Transaction() = default;
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  // A new query that runs in this transaction; the caller owns it.
  virtual std::unique_ptr<Query> NewQuery() = 0;
  // Throw DbError when the transaction has ended already.
  virtual void Commit() = 0;
  virtual void Rollback() = 0;
  virtual bool Active() const = 0;

 protected:
  Transaction() = default;
};

// The user name, password and server name ("path" for the embedded engine,
// "host:path" for a server) with which a connection is opened.
struct ConnectParams {
  std::string userName;
  std::string password;
  std::string serverName;
};

// One database connection. It has at most one open transaction of its own
// (StartTransaction), in which the queries of NewQuery run; a statement run
// while none is open runs in a short transaction of its own that commits at
// once. Begin gives transactions as objects, apart from that one and from each
// other, whose queries run in them (see Transaction). Snapshot isolation unless
// a Transaction object asks for read committed.
class Connection {
 public:
  virtual ~Connection() = default;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  const std::string& DatabaseName() const { return name_; }

  virtual void Open(const ConnectParams& params) = 0;
  virtual void Close() = 0;
  virtual bool Connected() const = 0;

  virtual bool InTransaction() const = 0;
  virtual void StartTransaction() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;

  // A new query bound to this connection; the caller owns it.
  virtual std::unique_ptr<Query> NewQuery() = 0;

  // Begins a transaction of its own, apart from the open one; queries it makes
  // run in it (see Transaction).
  virtual std::unique_ptr<Transaction> Begin(Isolation isolation) = 0;

 protected:
  Connection() = default;

 private:
  std::string name_ = kDatabaseName;
};

}  // namespace zrv::db
