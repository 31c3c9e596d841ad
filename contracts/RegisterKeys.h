#pragma once
// Keys that let several workstations store each new person and property once
// (tables person_keys and property_keys). A row that stores a new person or
// property claims its key in the row's own transaction; a second workstation
// storing the same one at the same moment waits for the first row and then
// fails with db::DuplicateKeyError. Its row is rolled back and tried again,
// and in its new snapshot the look-up finds what the first one stored.
//
// Persons without an identity number and properties without a cadastral
// identifier claim nothing: the look-up cannot tell them apart either.

#include <cstdint>
#include <string>

#include "contracts/ObjectDB.h"
#include "platform/db/Database.h"

namespace zrv::contracts {

// Whether the database keeps person and property keys (databases made before
// the tables were added do not, until they are upgraded; their imports rely on
// the look-ups alone).
bool HasRegisterKeys(db::Connection& db);

// The property's settlement and cadastral groups as one text, each part
// carrying its length; empty when the property has no cadastral identifier.
// Two properties get the same key exactly when TObektDB::FindByNpar would take
// one for the other.
std::string PropertyKey(const TObektDB& property);

// Claims the identity number `egn` for the person `personId` just stored; does
// nothing for an empty number. Throws db::DuplicateKeyError when another
// transaction holds the number (after waiting for it, when it is still open).
void ClaimPersonKey(db::Connection& db, const std::string& egn,
                    int32_t personId);

// Claims `key` (PropertyKey) for the property `propertyId` just stored; does
// nothing for an empty key. Errors as ClaimPersonKey.
void ClaimPropertyKey(db::Connection& db, const std::string& key,
                      int32_t propertyId);

}  // namespace zrv::contracts
