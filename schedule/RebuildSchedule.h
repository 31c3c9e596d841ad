#pragma once
// Rebuilding a stored contract's rent schedule from its stored annexes.

#include <cstdint>

#include "platform/db/Database.h"
#include "schedule/Anecs.h"

namespace zrv::schedule {

// Builds the schedule of contract `docId` by its type and stores it (see
// TDocCreateInfo), on the connection `db`. Type 1004 runs nothing
// further; a type that has no schedule kind (also a contract that does not
// exist) builds and stores nothing. `updateExisting` is passed to the store
// step. Runs in the caller's transaction or in one of its own; errors of the
// build (zrv::Error) and of the database (db::DbError) roll back only its own
// and travel on.
void RebuildSchedule(db::Connection& db, int32_t docId, bool updateExisting);

// The same in the transaction `tx`, which the caller ends.
void RebuildSchedule(db::Transaction& tx, int32_t docId, bool updateExisting);

// The same for a contract of type `type` whose annexes are `annexes` as stored
// (see AnnexesAsStored.h): nothing is read back but the periods it has.
void RebuildSchedule(db::Transaction& tx, int32_t docId, int32_t type, const TAnecses& annexes,
                     bool updateExisting);

}  // namespace zrv::schedule
