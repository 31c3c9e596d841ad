#pragma once
// The replay floor of the import benchmark: a connection that passes
// everything to another one while it writes each statement (text and
// parameters) and each transaction boundary to a file, and a replay that runs
// that file again on another database with no logic between the statements.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/db/Database.h"

namespace zrv::bench {

// How a replay ends the recorded transactions.
enum class ReplayMode {
  // As recorded: one transaction per row.
  kAsRecorded,
  // Each recorded snapshot transaction (a row) under a savepoint in one open
  // transaction, released when the row was committed and rolled back to when
  // it was rolled back; that transaction commits once 100 ms have passed since
  // its last commit, and at the end. Read-committed transactions (classifier
  // entries) stay apart, as recorded.
  kBatched,
};

// What a replay ran.
struct ReplayCounts {
  long statements = 0;
  long failed = 0;   // statements that failed when recorded fail again
  long apart = 0;    // read-committed transactions (classifier entries)
  long rows = 0;     // batched: savepoints, one per recorded row
  long batches = 0;  // batched: commits of the batch
  // Seconds and runs per statement shape (the text with its numbers and
  // quoted values blanked), kept when the replay is asked to time them.
  std::map<std::string, std::pair<double, long>> shapes;
};

class RecordingConnection : public db::Connection {
 public:
  // Records to `file` when it is not null (the caller closes it).
  RecordingConnection(db::Connection& inner, std::FILE* file);
  // From now on records to `file` (null: records nothing).
  void RecordTo(std::FILE* file) { file_ = file; }

  void Open(const db::ConnectParams& params) override { inner_.Open(params); }
  void Close() override { inner_.Close(); }
  bool Connected() const override { return inner_.Connected(); }
  bool InTransaction() const override { return inner_.InTransaction(); }
  void StartTransaction() override;
  void Commit() override;
  void Rollback() override;
  std::unique_ptr<db::Query> NewQuery() override;
  std::unique_ptr<db::Transaction> Begin(db::Isolation isolation) override;

  long statements = 0;

 private:
  db::Connection& inner_;
  std::FILE* file_;
  uint32_t transactions_ = 0;  // Transaction objects begun so far
};

// Runs the recorded statements on `connection` with the recorded transaction
// boundaries or in batches (`mode`), one prepared statement per text; with
// `timeShapes` it also times each statement shape.
ReplayCounts Replay(db::Connection& connection, std::FILE* file, bool timeShapes = false,
                    ReplayMode mode = ReplayMode::kAsRecorded);

}  // namespace zrv::bench
