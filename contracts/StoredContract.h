#pragma once
// Whether a contract read from a workbook row is stored already, so that
// reading the same workbook again does not store its contracts twice.

#include <cstdint>

#include "contracts/BaseDoc.h"
#include "contracts/ObjectDB.h"
#include "platform/db/Database.h"

namespace zrv::contracts {

// The doc_id of a stored contract of the same type with the same number
// (doc_nomtxt) and date (doc_data), let to the same tenant (`tenantId`, -1 for
// a tenant not stored yet) and on the same property: contract.PropertyID when
// the row found a stored property, otherwise a stored property with the same
// settlement, cadastral groups, locality, quarter, street, street number and
// address as `property`. -1 when there is none. Database errors travel on.
int32_t FindStoredContract(db::Connection& db, const TBaseDoc& contract,
                           const TObektDB& property, int32_t tenantId);

}  // namespace zrv::contracts
