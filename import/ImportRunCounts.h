#pragma once
// How many classifier rows the database holds, so that a run can tell how many
// it added.

#include <optional>

#include "platform/db/Database.h"

namespace zrv::import {

// The number of rows of the classifier tables a run may add to (municipalities,
// settlements, localities, quarters, streets, object types, rent types);
// nullopt when the database cannot be asked.
std::optional<int> CountClassifierRows(db::Connection& db);

}  // namespace zrv::import
