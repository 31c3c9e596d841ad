#pragma once
// The record of one real run in the run history: written when the workbook
// has been chosen, locked while the run works (an undo of the run waits for
// the lock, so a run at work on another workstation is never undone under
// it), and completed with the outcome and the summary's counts at the end. A
// run whose program is killed leaves its record without an end; the engine
// drops the lock with the connection.

#include <cstdint>
#include <memory>

#include "import/ImportRun.h"
#include "import/RunRecord.h"
#include "import/RunTrace.h"
#include "platform/db/Database.h"

namespace zrv::import {

// The outcome as the record keeps it: "finished", "interrupted", ...
const char* RunOutcomeCode(RunOutcome outcome);

class RunRecorder {
 public:
  explicit RunRecorder(db::Connection& connection) : connection_(connection) {}
  // Without Complete the lock is let go and the record stays unfinished.
  ~RunRecorder();
  RunRecorder(const RunRecorder&) = delete;
  RunRecorder& operator=(const RunRecorder&) = delete;

  // Writes `record` in a transaction of its own, with the items `trace` held
  // so far, and from then on `trace` records under its id. Database errors
  // travel on.
  void Begin(const RunRecord& record, RunTrace& trace);
  int32_t Id() const { return record_.id; }
  // Writes the end, `outcome` and the counts of `summary`, and lets go of the
  // lock. Database errors travel on.
  void Complete(RunOutcome outcome, const ImportSummary& summary);

 private:
  db::Connection& connection_;
  RunRecord record_;
  std::unique_ptr<db::Transaction> lock_;
};

}  // namespace zrv::import
