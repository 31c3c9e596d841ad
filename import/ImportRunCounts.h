#pragma once
// How many classifier rows the database holds, so that a run can tell how many
// it added.

#include <optional>

#include "import/EntryTransactions.h"

namespace zrv::import {

// The number of rows of the classifier tables a run may add to (municipalities,
// settlements, localities, quarters, streets, object types, rent types);
// nullopt when the database cannot be asked.
std::optional<int> CountClassifierRows(EntryTransactions& entries);

}  // namespace zrv::import
