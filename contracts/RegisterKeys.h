#pragma once
// Keys that let several workstations store each new person and property once
// (tables person_keys and property_keys, claimed through PersonStore and
// PropertyStore). A row that stores a new person or property claims its key in
// the row's own transaction; a second workstation
// storing the same one at the same moment waits for the first row and then
// fails with db::DuplicateKeyError. Its row is rolled back and tried again,
// and in its new snapshot the look-up finds what the first one stored.
//
// Persons without an identity number and properties without a cadastral
// identifier claim nothing: the look-up cannot tell them apart either.

#include <cstdint>
#include <string>

#include "contracts/ObjectDB.h"

namespace zrv::contracts {

// The property's settlement and cadastral groups as one text, each part
// carrying its length; empty when the property has no cadastral identifier.
// Two properties get the same key exactly when TObektDB::FindByNpar would take
// one for the other.
std::string PropertyKey(const TObektDB& property);

}  // namespace zrv::contracts
