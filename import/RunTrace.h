#pragma once
// What a real import run stored, listed under the run's number as it is
// stored: each item in the transaction that stores the thing itself, so a row
// rolled back takes its items with it and a classifier entry committed apart
// keeps its own. The list is what `zorvit runs show` shows and what `zorvit
// undo` removes (import_run_items). A dry run lists nothing.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/Dates.h"
#include "platform/db/Database.h"

namespace zrv::import {

enum class TraceKind : int16_t {
  kContract = 1,    // a new contract, with its annexes and schedule
  kAddedAnnex = 2,  // an annex added to a contract stored before the run
  kFileLink = 3,    // a link to the scanned contract (id: the property)
  kPerson = 4,
  kProperty = 5,
  kEntry = 6,  // a classifier entry (table: its table)
};

struct TraceItem {
  TraceKind kind = TraceKind::kContract;
  int32_t id = 0;          // the contract, person, property or entry
  int32_t number = 0;      // an added annex's number, a file link's number
  std::string table = {};  // a classifier entry's table
  // What an added annex changed, to be put back by an undo: the contract's
  // stop and term (DA_IF2), and the stop of the annex before it.
  TDate oldStop = 0;
  std::optional<int32_t> oldTerm = {};  // nothing for a term never set
  TDate oldPreviousStop = 0;
};

class RunTrace {
 public:
  // Items recorded from now on wait in memory until Begin: a real run adds
  // its municipality's entry before the workbook is chosen and the run's
  // record is written.
  void Hold() {
    runId_ = 0;
    holding_ = true;
    held_.clear();
  }
  // Writes the items held so far under `runId` in `tx`, and every later one
  // in the transaction that stores it.
  void Begin(db::Transaction& tx, int32_t runId);
  // Nothing is recorded (a dry run; between runs).
  void Off() {
    runId_ = 0;
    holding_ = false;
    held_.clear();
  }
  int32_t RunId() const { return runId_; }

  void Record(db::Transaction& tx, const TraceItem& item);

 private:
  int32_t runId_ = 0;
  bool holding_ = false;
  std::vector<TraceItem> held_;
};

}  // namespace zrv::import
