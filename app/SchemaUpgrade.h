#pragma once
// Bringing a database made by an earlier version of the program up to the
// schema of this one (`zorvit db upgrade`).
//
// The upgrade compares the database with the schema scripts the program
// carries: every table, column, named constraint, index, generator and trigger
// the database lacks is made, in the scripts' order, each step in a
// transaction of its own; the rows a script inserts go in with a table the
// upgrade makes; the scripts' other statements (the grants) run again. A step
// is taken only when its object is missing, so an upgrade stopped part way is
// finished by running it again, and a second run finds nothing to do. Indexes
// of earlier versions that a unique one replaced are dropped. The new version
// is recorded last.
//
// Before anything changes, the data is checked against each new guard on an
// existing table: rows that a unique index or unique constraint would find
// twice, rows a CHECK would refuse. Any of them and the upgrade is refused
// with a list naming the rows by their keys, to be merged or mended by hand.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/db/Database.h"

namespace zrv::app {

// Data that a new guard would refuse: its name, the table, and one line per
// group of rows (the duplicated value and the rows' keys, or a refused row's
// keys).
struct UpgradeConflict {
  std::string guard;
  std::string table;
  std::vector<std::string> rows;
};

struct UpgradePlan {
  int32_t storedVersion = 0;
  std::vector<std::string> steps;  // what the upgrade makes, one line each
  std::vector<UpgradeConflict> conflicts;
  // True when there is something to do: a step, or only the version to
  // record.
  bool NeedsUpgrade() const;
};

// What the upgrade would do on `db`, from the program's schema. Throws
// zrv::Error for a database newer than the program.
UpgradePlan PlanUpgrade(db::Connection& db);

// The refusal of an upgrade whose data breaks new guards, with the rows.
std::string RefusalText(const std::vector<UpgradeConflict>& conflicts);

// Runs the plan's steps on `db` and records the program's version. Throws
// zrv::Error without changing anything when the plan has conflicts; a step
// that fails stops the upgrade with its name and the engine's message, the
// steps before it staying done. `done` is told each step as it is finished.
void Upgrade(db::Connection& db, const std::function<void(const std::string& step)>& done = {});

}  // namespace zrv::app
