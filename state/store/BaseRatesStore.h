#pragma once
// The base-rate table in the database (table BASERATES).

#include <string>

#include "platform/db/Database.h"
#include "state/BaseRates.h"

namespace zrv::state {

// Replaces `table` by the stored periods in ascending order. Throws db::DbError
// on a database error and zrv::Error when the stored periods do not follow one
// another.
void LoadBaseRates(db::Connection& connection, BaseRateTable& table);

// Replaces every stored period by those of `table`, in one transaction (or the
// caller's).
void StoreBaseRates(db::Connection& connection, const BaseRateTable& table);

}  // namespace zrv::state
