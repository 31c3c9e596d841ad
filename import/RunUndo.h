#pragma once
// Undoing a real import run: everything it stored removed in one transaction
// — its contracts with their annexes, schedules and links, the annexes it
// added to contracts stored before it (with those contracts' stop, term and
// schedule put back), and the persons, properties and classifier entries it
// added where nothing else uses them — and the run marked undone.
//
// The undo is refused, and nothing changes, when the run does not exist, was
// undone already, is still at work (its record is locked), or when a contract
// of the run has payments or invoices waiting for payment, or an annex that a
// later run added; likewise when a later annex follows one the run added. A
// write of another workstation to the same rows makes the undo wait up to the
// wait limit and then refuses it.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/db/Database.h"

namespace zrv::import {

// Who undoes the run, for its record.
struct UndoUser {
  int32_t id = 0;
  std::string name;
  std::string host;
};

struct UndoReport {
  int32_t runId = 0;
  bool undone = false;                // the removal was committed
  std::vector<std::string> refusals;  // why the run cannot be undone
  std::vector<std::string> removed;   // what is (or would be) removed
  std::vector<std::string> kept;      // what the run added that others use
};

// Undoes run `runId`; with `checkOnly` it goes through every step and rolls
// back, so the report says what an undo would remove. Database errors other
// than another workstation's lock travel on.
UndoReport UndoRun(db::Connection& connection, int32_t runId, const UndoUser& by, bool checkOnly);

}  // namespace zrv::import
