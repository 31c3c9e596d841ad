#include "platform/db/firebird/FbSession.h"

#include "platform/db/Database.h"
#include "platform/db/Firebird.h"
#include "platform/db/firebird/FbAttach.h"
#include "platform/db/firebird/FbEngineMode.h"
#include "platform/db/firebird/FbStatus.h"

namespace zrv::db::fb {

namespace {

const char kNotConnected[] = "The database connection is not open.";
const char kNoTransaction[] = "No transaction is active.";
const char kTransactionActive[] = "A transaction is already active.";
const char kClientCharset[] = "UTF8";

// Snapshot isolation: the transaction sees the database as it was when it
// started, plus its own changes. A row another transaction holds is waited for
// up to kLockTimeoutSeconds, then the statement fails with the engine's
// lock-conflict message (never an endless wait).
constexpr char kLockTimeoutSeconds = 10;
const char kSnapshotTpb[] = {isc_tpb_version3,   isc_tpb_write,        isc_tpb_concurrency,
                             isc_tpb_wait,       isc_tpb_lock_timeout, 1,
                             kLockTimeoutSeconds};
// The same without a wait, for a batch of rows.
const char kSnapshotNoWaitTpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_concurrency,
                                   isc_tpb_nowait};
// Read committed, for the short transactions of entries others must see at
// once: each statement sees what is committed when it runs (the latest greatest
// id, an entry another workstation has just added).
const char kReadCommittedTpb[] = {isc_tpb_version3,
                                  isc_tpb_write,
                                  isc_tpb_read_committed,
                                  isc_tpb_rec_version,
                                  isc_tpb_wait,
                                  isc_tpb_lock_timeout,
                                  1,
                                  kLockTimeoutSeconds};

const char kReadCommittedNoWaitTpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed,
                                        isc_tpb_rec_version, isc_tpb_nowait};

}  // namespace

void Dpb::AddString(char item, const std::string& value) {
  if (value.size() > 255) throw DbError("A connection parameter is longer than 255 bytes.");
  bytes_ += item;
  bytes_ += static_cast<char>(value.size());
  bytes_ += value;
}

void Dpb::AddFlag(char item) {
  bytes_ += item;
  bytes_ += '\0';
}

void Dpb::AddNumber(char item, int value) {
  bytes_ += item;
  bytes_ += static_cast<char>(4);
  for (int i = 0; i < 4; ++i) bytes_ += static_cast<char>((value >> (8 * i)) & 0xFF);
}

Dpb AttachDpb(const std::string& user, const std::string& password) {
  // Every attachment and creation builds its parameters here first, before
  // the engine is called.
  PrepareEmbeddedEngine();
  Dpb dpb;
  // The client library reads the block's strings (user name, password, the
  // file name) in the process's locale unless told they are UTF-8; the program
  // never sets a locale, so a Cyrillic user name would be refused as a bad
  // character in any environment.
  dpb.AddFlag(isc_dpb_utf8_filename);
  if (!user.empty()) dpb.AddString(isc_dpb_user_name, user);
  if (!password.empty()) dpb.AddString(isc_dpb_password, password);
  dpb.AddString(isc_dpb_lc_ctype, kClientCharset);
  return dpb;
}

Session::~Session() { Detach(); }

template <typename Work>
decltype(auto) Session::Watched(Work&& work) {
  if (!watchdog_) return work();
  Watchdog& watchdog = *watchdog_;
  struct Call {
    explicit Call(Watchdog& w) : watchdog(w) { watchdog.Enter(); }
    ~Call() { watchdog.Leave(); }
    Watchdog& watchdog;
  } call(watchdog);
  try {
    return work();
  } catch (const DbError&) {
    const std::string reason = watchdog.AbortReason();
    if (!reason.empty()) throw NoAnswerError(reason);
    throw;
  }
}

void Session::RequireConnected() const {
  if (!Connected()) throw ConnectionLostError(kNotConnected);
}

void Session::Attach(const std::string& path, const std::string& user,
                     const std::string& password) {
  Detach();
  const int limit = WaitLimitSeconds();
  db_ = AttachWithin(path, AttachDpb(user, password), limit);
  watchdog_ = std::make_unique<Watchdog>(db_, limit);
}

void Session::AttachCreated(isc_db_handle db) {
  Detach();
  db_ = db;
  watchdog_ = std::make_unique<Watchdog>(db_, WaitLimitSeconds());
}

void Session::Detach() {
  // A frozen server would hold the detach too: it is watched, and the
  // watchdog ends with it.
  Watched([this] {
    ForgetStatements();
    ISC_STATUS_ARRAY status;
    if (tr_) isc_rollback_transaction(status, &tr_);
    tr_ = 0;
    if (db_) isc_detach_database(status, &db_);
    db_ = 0;
  });
  watchdog_.reset();
}

void Session::Drop() {
  RequireConnected();
  std::exception_ptr error;
  Watched([&] {
    ForgetStatements();
    ISC_STATUS_ARRAY status;
    if (tr_) isc_rollback_transaction(status, &tr_);
    tr_ = 0;
    isc_drop_database(status, &db_);
    if (status[0] == 1 && status[1]) error = StatusError(status);
  });
  if (error) {
    Detach();
    std::rethrow_exception(error);
  }
  db_ = 0;
  watchdog_.reset();
}

isc_tr_handle Session::Begin(const char* tpb, size_t tpbSize) {
  RequireConnected();
  ISC_STATUS_ARRAY status;
  isc_tr_handle tr = 0;
  isc_start_transaction(status, &tr, 1, &db_, static_cast<unsigned short>(tpbSize), tpb);
  Check(status);
  ++started_;
  return tr;
}

isc_tr_handle Session::Begin() { return Begin(kSnapshotTpb, sizeof kSnapshotTpb); }

void Session::CommitHandle(isc_tr_handle* tr) {
  ISC_STATUS_ARRAY status;
  isc_commit_transaction(status, tr);
  Check(status);
  ++committed_;
}

// A transaction the engine cannot roll back is gone all the same (lost
// connection): the handle is cleared before the error is thrown.
void Session::RollbackHandle(isc_tr_handle* tr) {
  ISC_STATUS_ARRAY status;
  isc_rollback_transaction(status, tr);
  *tr = 0;
  ++rolledBack_;
  Check(status);
}

void Session::StartTransaction() {
  if (tr_) throw DbError(kTransactionActive);
  tr_ = Watched([this] { return Begin(); });
}

void Session::Commit() {
  if (!tr_) throw DbError(kNoTransaction);
  Watched([this] { CommitHandle(&tr_); });
  tr_ = 0;
}

void Session::Rollback() {
  if (!tr_) throw DbError(kNoTransaction);
  Watched([this] { RollbackHandle(&tr_); });
}

void Session::InTransaction(const std::function<void(isc_tr_handle*)>& work) {
  RequireConnected();
  Watched([&] { InTransactionWatched(work); });
}

void Session::InTransactionWatched(const std::function<void(isc_tr_handle*)>& work) {
  if (tr_) {
    work(&tr_);
    return;
  }
  isc_tr_handle own = Begin();
  try {
    work(&own);
  } catch (...) {
    try {
      RollbackHandle(&own);
    } catch (...) {
      // The error of work is the one to report.
    }
    throw;
  }
  try {
    CommitHandle(&own);
  } catch (...) {
    if (own) {
      try {
        RollbackHandle(&own);
      } catch (...) {
        // The commit's error is the one to report.
      }
    }
    throw;
  }
}

void Session::Run(const std::string& sql, const NamedValues& params, std::vector<Row>& rows,
                  std::vector<std::string>& columns) {
  InTransaction([&](isc_tr_handle* tr) { RunStatement(tr, sql, params, rows, columns); });
}

void Session::RunIn(isc_tr_handle* tr, const std::string& sql, const NamedValues& params,
                    std::vector<Row>& rows, std::vector<std::string>& columns) {
  RequireConnected();
  if (*tr == 0) throw DbError(kNoTransaction);
  Watched([&] { RunStatement(tr, sql, params, rows, columns); });
}

void Session::RunStatement(isc_tr_handle* tr, const std::string& sql, const NamedValues& params,
                           std::vector<Row>& rows, std::vector<std::string>& columns) {
  rows.clear();
  columns.clear();
  Cached& cached = Prepared(sql, tr);
  const std::vector<std::string>& names = cached.positional.names;
  std::vector<const Param*> bound;
  bound.reserve(names.size());
  for (const std::string& name : names) {
    auto found = params.find(name);
    bound.push_back(found == params.end() ? nullptr : &found->second);
  }
  if (!cached.statement->IsDdl()) {
    cached.statement->Run(tr, bound, rows);
    columns = cached.statement->ColumnNames();
    return;
  }
  // A schema change runs alone: no other prepared statement may hold the
  // objects it alters.
  std::unique_ptr<Statement> ddl = std::move(cached.statement);
  ForgetStatements();
  ddl->Run(tr, bound, rows);
}

isc_tr_handle Session::BeginApart(Isolation isolation) {
  RequireConnected();
  return Watched([&] {
    switch (isolation) {
      case Isolation::kSnapshot:
        return Begin();
      case Isolation::kSnapshotNoWait:
        return Begin(kSnapshotNoWaitTpb, sizeof kSnapshotNoWaitTpb);
      case Isolation::kReadCommitted:
        return Begin(kReadCommittedTpb, sizeof kReadCommittedTpb);
      case Isolation::kReadCommittedNoWait:
        break;
    }
    return Begin(kReadCommittedNoWaitTpb, sizeof kReadCommittedNoWaitTpb);
  });
}

void Session::CommitApart(isc_tr_handle* tr) {
  if (*tr == 0) throw DbError(kNoTransaction);
  Watched([&] { CommitHandle(tr); });
  *tr = 0;
}

void Session::RollbackApart(isc_tr_handle* tr) {
  if (*tr == 0) throw DbError(kNoTransaction);
  Watched([&] { RollbackHandle(tr); });
}

Session::Cached& Session::Prepared(const std::string& sql, isc_tr_handle* tr) {
  auto found = statements_.find(sql);
  if (found != statements_.end()) {
    recent_.splice(recent_.begin(), recent_, found->second.place);
    return found->second;
  }
  PositionalSql positional = ToPositional(sql);
  auto statement = std::make_unique<Statement>(&db_, tr, positional.text);
  ++prepared_;
  if (statements_.size() >= kMaxCachedStatements) {
    statements_.erase(recent_.back());
    recent_.pop_back();
  }
  recent_.push_front(sql);
  Cached& cached = statements_[sql];
  cached.positional = std::move(positional);
  cached.statement = std::move(statement);
  cached.place = recent_.begin();
  return cached;
}

}  // namespace zrv::db::fb
