#pragma once
// The state one connection shares with the queries it made: the attachment, the
// open transaction and the prepared statements. Queries keep the session alive,
// so a query that outlives its connection fails with a clear message instead of
// touching freed memory.

#include <ibase.h>

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/db/Database.h"
#include "platform/db/firebird/FbStatement.h"
#include "platform/db/firebird/FbWatchdog.h"
#include "platform/db/firebird/NamedParams.h"

namespace zrv::db::fb {

class Session {
 public:
  ~Session();

  bool Connected() const { return db_ != 0; }
  // Throws ConnectionLostError when the connection is not open (closed, or
  // never opened): nothing can run on it.
  void RequireConnected() const;

  // Attaches within the wait limit (Firebird.h); the calls on the attachment
  // are watched with that limit from then on.
  void Attach(const std::string& path, const std::string& user, const std::string& password);
  void AttachCreated(isc_db_handle db);
  // Rolls back an open transaction, frees the statements and detaches; always
  // ends detached.
  void Detach();
  // Drops the attached database (the file is deleted) and ends detached.
  void Drop();

  bool InTransaction() const { return tr_ != 0; }
  void StartTransaction();
  void Commit();
  void Rollback();

  // Transactions started, committed and rolled back since the session began.
  long Started() const { return started_; }
  long Committed() const { return committed_; }
  long RolledBack() const { return rolledBack_; }
  long PreparedCount() const { return prepared_; }

  // Runs work in the open transaction, or in a snapshot transaction of its own
  // that commits when work returns and rolls back when it throws.
  void InTransaction(const std::function<void(isc_tr_handle*)>& work);

  // Runs a statement with named parameters (":name"), each marker bound to
  // the value of its name in params (null when absent), in the open
  // transaction or in one of its own. Result rows replace rows; the column
  // names replace columns.
  void Run(const std::string& sql, const NamedValues& params, std::vector<Row>& rows,
           std::vector<std::string>& columns);
  // The same in the transaction `tr` of a Transaction object.
  void RunIn(isc_tr_handle* tr, const std::string& sql, const NamedValues& params,
             std::vector<Row>& rows, std::vector<std::string>& columns);

  // The transactions of Transaction objects, apart from the open one: begun,
  // committed and rolled back on the attachment, each call watched. A
  // rollback clears the handle also when it fails.
  isc_tr_handle BeginApart(Isolation isolation);
  void CommitApart(isc_tr_handle* tr);
  void RollbackApart(isc_tr_handle* tr);
  // Frees every prepared statement (before a change of the schema, which they
  // could block).
  void ForgetStatements() {
    statements_.clear();
    recent_.clear();
  }

  isc_db_handle* Handle() { return &db_; }

 private:
  static constexpr size_t kMaxCachedStatements = 200;

  // Runs work, one call on the attachment, under the watchdog: when the
  // watchdog aborted the attachment meanwhile, the DbError work ends with
  // becomes a NoAnswerError giving the reason.
  template <typename Work>
  decltype(auto) Watched(Work&& work);

  void InTransactionWatched(const std::function<void(isc_tr_handle*)>& work);

  // Prepares (or takes from the cache) and runs one statement in `tr`.
  void RunStatement(isc_tr_handle* tr, const std::string& sql, const NamedValues& params,
                    std::vector<Row>& rows, std::vector<std::string>& columns);
  isc_tr_handle Begin(const char* tpb, size_t tpbSize);
  isc_tr_handle Begin();
  void CommitHandle(isc_tr_handle* tr);
  void RollbackHandle(isc_tr_handle* tr);
  struct Cached {
    // The text with "?" markers and the parameter name of each marker,
    // worked out once when the statement is prepared.
    PositionalSql positional;
    std::unique_ptr<Statement> statement;
    std::list<std::string>::iterator place;  // in recent_
  };

  // The prepared statement for a text with named parameters, turned into
  // positional form and prepared once, then reused. The cache keeps the
  // statements used most recently: the few texts every row runs stay
  // prepared, while texts that carry a row's own values (used once) leave it
  // again.
  Cached& Prepared(const std::string& sql, isc_tr_handle* tr);

  isc_db_handle db_ = 0;
  std::unique_ptr<Watchdog> watchdog_;  // while attached
  isc_tr_handle tr_ = 0;
  long started_ = 0;
  long committed_ = 0;
  long rolledBack_ = 0;
  long prepared_ = 0;
  std::unordered_map<std::string, Cached> statements_;
  std::list<std::string> recent_;  // cached texts, most recently used first
};

// A database parameter block, built item by item.
class Dpb {
 public:
  Dpb() : bytes_(1, isc_dpb_version1) {}
  void AddString(char item, const std::string& value);
  void AddNumber(char item, int value);
  // An item without a value.
  void AddFlag(char item);
  const char* Data() const { return bytes_.data(); }
  short Size() const { return static_cast<short>(bytes_.size()); }

 private:
  std::string bytes_;
};

// The parameter block of every attachment: user, password and UTF-8 text,
// the block's own strings in UTF-8 too.
Dpb AttachDpb(const std::string& user, const std::string& password);

}  // namespace zrv::db::fb
