#include "import/RunRecorder.h"

#include "import/store/RunStore.h"

namespace zrv::import {

const char* RunOutcomeCode(RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::kFinished:
      return "finished";
    case RunOutcome::kCancelled:
      return "cancelled";
    case RunOutcome::kNotStarted:
      return "not-started";
    case RunOutcome::kInterrupted:
      return "interrupted";
    case RunOutcome::kConnectionLost:
      return "connection-lost";
    case RunOutcome::kWorkbookLost:
      return "workbook-lost";
    case RunOutcome::kDatabaseFailed:
      return "database-failed";
  }
  return "";
}

RunRecorder::~RunRecorder() {
  if (!lock_) return;
  try {
    lock_->Rollback();
  } catch (const std::exception&) {
    // The connection is gone, and the engine dropped the lock with it.
  }
}

void RunRecorder::Begin(const RunRecord& record, RunTrace& trace) {
  record_ = record;
  std::unique_ptr<db::Transaction> tx = connection_.Begin(db::Isolation::kReadCommitted);
  record_.id = RunStore(*tx).Insert(record_);
  trace.Begin(*tx, record_.id);
  tx->Commit();
  lock_ = connection_.Begin(db::Isolation::kReadCommitted);
  RunStore(*lock_).Hold(record_.id);
}

void RunRecorder::Complete(RunOutcome outcome, const ImportSummary& summary) {
  if (!lock_) return;
  record_.outcome = RunOutcomeCode(outcome);
  record_.rowsRead = summary.rowsRead;
  record_.stored = summary.contractsStored;
  record_.skipped = summary.rowsSkipped;
  record_.refused = summary.rowsRefused;
  record_.busy = summary.rowsBusy;
  record_.annexes = summary.annexesStored;
  record_.annexesSkipped = summary.annexesSkipped;
  record_.annexesRefused = summary.annexesDropped;
  record_.entries = summary.classifierEntriesAdded;
  record_.logFile = summary.logFile;
  RunStore(*lock_).Complete(record_);
  lock_->Commit();
  lock_.reset();
}

}  // namespace zrv::import
