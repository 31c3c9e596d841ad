#include "bench/StatementReplay.h"

#include <cctype>
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>

#include "platform/db/Transaction.h"

namespace zrv::bench {

namespace {

// Record tags. Each is followed by the number of the transaction it concerns:
// 0 for the connection's own open transaction (or a statement's own short
// one), 1 and up for the Transaction objects in the order they began.
constexpr char kBegin = 'B';  // then the isolation, for a Transaction
constexpr char kCommit = 'C';
constexpr char kRollback = 'R';
constexpr char kStatement = 'S';

// A batched replay's savepoint for each row, and how long a batch stays open
// after the last commit.
const char* const kRowSavepoint = "zrv_bench_row";
constexpr std::chrono::milliseconds kBatchTime{100};

enum class Kind : char { Null, Integer, SmallInt, String, Float, DateTime };

struct Param {
  Kind kind = Kind::Null;
  int32_t integer = 0;
  double real = 0;
  std::string text;
};

void Put(std::FILE* file, const void* data, size_t size) {
  if (std::fwrite(data, 1, size, file) != size)
    throw std::runtime_error("cannot write the statement record");
}

void PutText(std::FILE* file, const std::string& text) {
  const uint32_t size = static_cast<uint32_t>(text.size());
  Put(file, &size, sizeof size);
  Put(file, text.data(), size);
}

bool Get(std::FILE* file, void* data, size_t size) {
  return std::fread(data, 1, size, file) == size;
}

std::string GetText(std::FILE* file) {
  uint32_t size = 0;
  if (!Get(file, &size, sizeof size)) throw std::runtime_error("truncated statement record");
  std::string text(size, '\0');
  if (size > 0 && !Get(file, text.data(), size))
    throw std::runtime_error("truncated statement record");
  return text;
}

void PutTag(std::FILE* file, char tag, uint32_t transaction) {
  if (!file) return;
  Put(file, &tag, 1);
  Put(file, &transaction, sizeof transaction);
}

// The import's savepoint for each contract row, and the statements that
// open and close it (platform/db/Transaction.cpp writes them so).
const char* const kImportRowSavepoint = "SAVEPOINT zrv_row";
const char* const kImportRowRelease = "RELEASE SAVEPOINT zrv_row ONLY";
const char* const kImportRowRollback = "ROLLBACK TO SAVEPOINT zrv_row";

// Where a Transaction object's statements are recorded. The import keeps
// rows in batches, each row under a savepoint: the record writes each row
// as a transaction of its own (begun at its savepoint, committed at its
// release, rolled back at its rollback), so that a replay can run the rows
// one transaction each or in batches of its own. The batch itself is
// written only when a statement runs in it outside a row.
struct Routing {
  std::FILE* const& file;
  uint32_t& numbers;  // the connection's count of transaction numbers
  uint32_t own;
  db::Isolation isolation;
  bool begun = false;  // the batch's own Begin is written
  uint32_t row = 0;    // the open row's number

  void BeginOwn() {
    if (begun) return;
    begun = true;
    PutTag(file, kBegin, own);
    const char kind = static_cast<char>(isolation);
    if (file) Put(file, &kind, 1);
  }
  // The number the statement `sql` is recorded under; 0 when the statement
  // opens or closes a row and is written as that row's boundary instead.
  uint32_t Route(const std::string& sql) {
    if (sql == kImportRowSavepoint) {
      row = ++numbers;
      PutTag(file, kBegin, row);
      const char kind = static_cast<char>(db::Isolation::kSnapshot);
      if (file) Put(file, &kind, 1);
      return 0;
    }
    if (sql == kImportRowRelease) {
      if (row != 0) PutTag(file, kCommit, row);
      row = 0;
      return 0;
    }
    if (sql == kImportRowRollback) {
      if (row != 0) PutTag(file, kRollback, row);
      row = 0;
      return 0;
    }
    if (row != 0) return row;
    BeginOwn();
    return own;
  }
  void End(char tag) {
    if (row != 0) PutTag(file, kRollback, row);
    row = 0;
    if (begun) PutTag(file, tag, own);
    begun = false;
  }
};

class RecordingQuery : public db::Query {
 public:
  // Writes to `file` as it is when a statement runs: queries made before the
  // connection starts recording write nothing. `routing` is null for the
  // connection's own transaction (number 0).
  RecordingQuery(std::unique_ptr<db::Query> inner, std::FILE* const& file, long& count,
                 Routing* routing)
      : inner_(std::move(inner)), file_(file), count_(count), routing_(routing) {}
  const std::string& DatabaseName() const override { return inner_->DatabaseName(); }
  void SetSQL(const std::string& sql) override {
    params_.clear();
    inner_->SetSQL(sql);
  }
  const std::string& SQL() const override { return inner_->SQL(); }
  void SetInteger(const std::string& p, int32_t v) override {
    params_[p] = {Kind::Integer, v, 0, {}};
    inner_->SetInteger(p, v);
  }
  void SetSmallInt(const std::string& p, int16_t v) override {
    params_[p] = {Kind::SmallInt, v, 0, {}};
    inner_->SetSmallInt(p, v);
  }
  void SetString(const std::string& p, const std::string& v) override {
    params_[p] = {Kind::String, 0, 0, v};
    inner_->SetString(p, v);
  }
  void SetFloat(const std::string& p, double v) override {
    params_[p] = {Kind::Float, 0, v, {}};
    inner_->SetFloat(p, v);
  }
  void SetDateTime(const std::string& p, double v) override {
    params_[p] = {Kind::DateTime, 0, v, {}};
    inner_->SetDateTime(p, v);
  }
  void SetNull(const std::string& p) override {
    params_[p] = {};
    inner_->SetNull(p);
  }
  void Execute() override { Run(false); }
  void Open() override { Run(true); }
  void Close() override { inner_->Close(); }
  bool IsOpen() const override { return inner_->IsOpen(); }
  void First() override { inner_->First(); }
  void Next() override { inner_->Next(); }
  void Last() override { inner_->Last(); }
  bool Eof() const override { return inner_->Eof(); }
  int RecordCount() const override { return inner_->RecordCount(); }
  int FieldCount() const override { return inner_->FieldCount(); }
  const db::Field& FieldAt(int i) const override { return inner_->FieldAt(i); }
  const db::Field& FieldByName(const std::string& n) const override {
    return inner_->FieldByName(n);
  }
  const db::Field* FindField(const std::string& n) const override { return inner_->FindField(n); }

 private:
  void Run(bool open) {
    ++count_;
    try {
      open ? inner_->Open() : inner_->Execute();
    } catch (...) {
      Write(open);
      throw;
    }
    Write(open);
  }

  void Write(bool open) {
    if (!file_) return;
    const uint32_t transaction = routing_ ? routing_->Route(inner_->SQL()) : 0;
    if (routing_ && transaction == 0) return;
    PutTag(file_, kStatement, transaction);
    const char flag = open ? 1 : 0;
    Put(file_, &flag, 1);
    PutText(file_, inner_->SQL());
    const uint16_t count = static_cast<uint16_t>(params_.size());
    Put(file_, &count, sizeof count);
    for (const auto& [name, param] : params_) {
      PutText(file_, name);
      Put(file_, &param.kind, 1);
      Put(file_, &param.integer, sizeof param.integer);
      Put(file_, &param.real, sizeof param.real);
      PutText(file_, param.text);
    }
  }

  std::unique_ptr<db::Query> inner_;
  std::FILE* const& file_;
  long& count_;
  Routing* routing_;
  std::map<std::string, Param> params_;
};

// A Transaction object whose boundaries and statements are recorded under its
// number, its rows under numbers of their own (Routing).
class RecordingTransaction : public db::Transaction {
 public:
  RecordingTransaction(std::unique_ptr<db::Transaction> inner, std::FILE* const& file, long& count,
                       uint32_t& numbers, db::Isolation isolation)
      : inner_(std::move(inner)),
        file_(file),
        count_(count),
        routing_{file, numbers, ++numbers, isolation} {
    // A read-committed transaction holds no rows: written as it begins.
    if (isolation != db::Isolation::kSnapshot && isolation != db::Isolation::kSnapshotNoWait)
      routing_.BeginOwn();
  }
  ~RecordingTransaction() override {
    // The inner object rolls itself back.
    if (inner_->Active()) routing_.End(kRollback);
  }
  std::unique_ptr<db::Query> NewQuery() override {
    return std::make_unique<RecordingQuery>(inner_->NewQuery(), file_, count_, &routing_);
  }
  void Commit() override {
    inner_->Commit();
    routing_.End(kCommit);
  }
  void Rollback() override {
    routing_.End(kRollback);
    inner_->Rollback();
  }
  bool Active() const override { return inner_->Active(); }

 private:
  std::unique_ptr<db::Transaction> inner_;
  std::FILE* const& file_;
  long& count_;
  Routing routing_;
};

class Replayer {
 public:
  Replayer(db::Connection& connection, std::FILE* file, bool timeShapes, ReplayMode mode)
      : connection_(connection),
        file_(file),
        timeShapes_(timeShapes),
        batched_(mode == ReplayMode::kBatched) {}

  // Runs every record of the file.
  void Run() {
    char tag = 0;
    while (Get(file_, &tag, 1)) {
      uint32_t number = 0;
      if (!Get(file_, &number, sizeof number))
        throw std::runtime_error("truncated statement record");
      switch (tag) {
        case kBegin:
          Begin(number);
          break;
        case kCommit:
          if (number == 0)
            connection_.Commit();
          else if (number == row_)
            EndRow(true);
          else
            Take(number)->Commit();
          break;
        case kRollback:
          if (number == row_ && number != 0) {
            EndRow(false);
          } else if (number == 0) {
            if (connection_.InTransaction()) connection_.Rollback();
          } else {
            Take(number)->Rollback();
          }
          break;
        case kStatement:
          Statement(number);
          break;
        default:
          throw std::runtime_error("unknown statement record");
      }
    }
    if (batch_) CommitBatch();
  }

  ReplayCounts counts;

 private:
  void Begin(uint32_t number) {
    if (number == 0) {
      connection_.StartTransaction();
      return;
    }
    char kind = 0;
    if (!Get(file_, &kind, 1)) throw std::runtime_error("truncated statement record");
    const auto isolation = static_cast<db::Isolation>(kind);
    if (batched_ && isolation == db::Isolation::kSnapshot && row_ == 0) {
      BeginRow(number);
      return;
    }
    if (isolation == db::Isolation::kReadCommitted) ++counts.apart;
    transactions_[number] = connection_.Begin(isolation);
  }

  // A recorded snapshot transaction (a row, or the run's work outside rows)
  // becomes a savepoint in the open batch, begun when none is open.
  void BeginRow(uint32_t number) {
    if (!batch_) batch_ = connection_.Begin(db::Isolation::kSnapshot);
    row_ = number;
    savepoint_.emplace(*batch_, kRowSavepoint);
    ++counts.rows;
  }

  // A stored row's savepoint is released, a refused row's rolled back; the
  // batch commits once the time since its last commit has passed.
  void EndRow(bool stored) {
    if (stored)
      savepoint_->Release();
    else
      savepoint_->RollBack();
    savepoint_.reset();
    queries_.erase(row_);
    row_ = 0;
    if (std::chrono::steady_clock::now() - lastCommit_ >= kBatchTime) CommitBatch();
  }

  // Commits the open batch; a row still open in it (a record cut short)
  // is rolled back to its savepoint first.
  void CommitBatch() {
    if (row_ != 0) queries_.erase(row_);
    savepoint_.reset();
    row_ = 0;
    batch_->Commit();
    batch_.reset();
    ++counts.batches;
    lastCommit_ = std::chrono::steady_clock::now();
  }

  // The transaction `number`, which ends now: it leaves the table.
  std::unique_ptr<db::Transaction> Take(uint32_t number) {
    auto found = transactions_.find(number);
    if (found == transactions_.end())
      throw std::runtime_error("a statement record names no open transaction");
    std::unique_ptr<db::Transaction> tx = std::move(found->second);
    transactions_.erase(found);
    queries_.erase(number);
    return tx;
  }

  void Statement(uint32_t number) {
    char open = 0;
    if (!Get(file_, &open, 1)) throw std::runtime_error("truncated statement record");
    const std::string sql = GetText(file_);
    // One query object per transaction serves its every statement: the
    // connection keeps the prepared statements, per text.
    std::unique_ptr<db::Query>& slot = queries_[number];
    if (!slot) {
      if (number != 0 && number == row_) {
        slot = batch_->NewQuery();
      } else if (number == 0) {
        slot = connection_.NewQuery();
      } else {
        auto tx = transactions_.find(number);
        if (tx == transactions_.end())
          throw std::runtime_error("a statement record names no open transaction");
        slot = tx->second->NewQuery();
      }
    }
    db::Query* query = slot.get();
    query->SetSQL(sql);
    uint16_t count = 0;
    if (!Get(file_, &count, sizeof count)) throw std::runtime_error("truncated statement record");
    for (uint16_t i = 0; i < count; ++i) {
      const std::string name = GetText(file_);
      Param p;
      if (!Get(file_, &p.kind, 1) || !Get(file_, &p.integer, sizeof p.integer) ||
          !Get(file_, &p.real, sizeof p.real))
        throw std::runtime_error("truncated statement record");
      p.text = GetText(file_);
      Bind(*query, name, p);
    }
    ++counts.statements;
    const auto began = std::chrono::steady_clock::now();
    try {
      open ? query->Open() : query->Execute();
      // A select is timed with its rows fetched, as the import reads them.
      if (open)
        while (!query->Eof()) query->Next();
    } catch (const db::DbError&) {
      ++counts.failed;
    }
    if (timeShapes_) {
      auto& [seconds, runs] = counts.shapes[Shape(sql)];
      seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
      ++runs;
    }
  }

  // The text with digit runs and quoted values blanked, cut to its start.
  static std::string Shape(const std::string& sql) {
    std::string shape;
    for (size_t i = 0; i < sql.size() && shape.size() < 90; ++i) {
      const char c = sql[i];
      if (c == '"' || c == '\'') {
        const size_t end = sql.find(c, i + 1);
        shape += "?";
        if (end == std::string::npos) break;
        i = end;
      } else if (std::isdigit(static_cast<unsigned char>(c))) {
        while (i + 1 < sql.size() && std::isdigit(static_cast<unsigned char>(sql[i + 1]))) ++i;
        shape += "#";
      } else {
        shape += c == '\r' || c == '\n' ? ' ' : c;
      }
    }
    return shape;
  }

  static void Bind(db::Query& query, const std::string& name, const Param& p) {
    switch (p.kind) {
      case Kind::Null:
        query.SetNull(name);
        break;
      case Kind::Integer:
        query.SetInteger(name, p.integer);
        break;
      case Kind::SmallInt:
        query.SetSmallInt(name, static_cast<int16_t>(p.integer));
        break;
      case Kind::String:
        query.SetString(name, p.text);
        break;
      case Kind::Float:
        query.SetFloat(name, p.real);
        break;
      case Kind::DateTime:
        query.SetDateTime(name, p.real);
        break;
    }
  }

  db::Connection& connection_;
  std::FILE* file_;
  std::map<uint32_t, std::unique_ptr<db::Transaction>> transactions_;
  // A batched replay's open batch, and the recorded row it holds under a
  // savepoint (0: none).
  std::unique_ptr<db::Transaction> batch_;
  uint32_t row_ = 0;
  std::optional<db::Savepoint> savepoint_;
  std::chrono::steady_clock::time_point lastCommit_ = std::chrono::steady_clock::now();
  // Declared after the transactions, so that queries go before them.
  std::map<uint32_t, std::unique_ptr<db::Query>> queries_;
  bool timeShapes_;
  bool batched_;
};

}  // namespace

RecordingConnection::RecordingConnection(db::Connection& inner, std::FILE* file)
    : inner_(inner), file_(file) {}

void RecordingConnection::StartTransaction() {
  inner_.StartTransaction();
  PutTag(file_, kBegin, 0);
}

void RecordingConnection::Commit() {
  inner_.Commit();
  PutTag(file_, kCommit, 0);
}

void RecordingConnection::Rollback() {
  PutTag(file_, kRollback, 0);
  inner_.Rollback();
}

std::unique_ptr<db::Query> RecordingConnection::NewQuery() {
  return std::make_unique<RecordingQuery>(inner_.NewQuery(), file_, statements, nullptr);
}

std::unique_ptr<db::Transaction> RecordingConnection::Begin(db::Isolation isolation) {
  return std::make_unique<RecordingTransaction>(inner_.Begin(isolation), file_, statements,
                                                transactions_, isolation);
}

ReplayCounts Replay(db::Connection& connection, std::FILE* file, bool timeShapes, ReplayMode mode) {
  Replayer replayer(connection, file, timeShapes, mode);
  replayer.Run();
  return replayer.counts;
}

}  // namespace zrv::bench
