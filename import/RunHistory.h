#pragma once
// Reading the run history, each call in a short transaction of its own.

#include <cstdint>
#include <optional>
#include <vector>

#include "import/RunRecord.h"
#include "import/store/RunStore.h"
#include "platform/db/Database.h"

namespace zrv::import {

// Every run, newest first.
std::vector<RunRecord> ListRuns(db::Connection& connection);

struct RunDetails {
  RunRecord record;
  std::vector<DescribedItem> items;  // in the order they were stored
};

// The run's record and what it stored; nothing when no run has the id.
std::optional<RunDetails> ReadRun(db::Connection& connection, int32_t runId);

}  // namespace zrv::import
