#pragma once
// The statements of Imot and property_keys, in a transaction the caller
// gives: a property added, found by its settlement and cadastral groups, and
// claimed; a property's zone.

#include <cstdint>
#include <string>

#include "contracts/ObjectDB.h"
#include "platform/db/Database.h"

namespace zrv::contracts {

class PropertyStore {
 public:
  explicit PropertyStore(db::Transaction& tx) : tx_(tx) {}

  // Adds the property and gives its new im_id (the greatest, read back in the
  // same transaction). A text the database cannot hold is refused with
  // zrv::Error before the statement runs.
  int32_t Insert(const TObektDB& property) const;
  // The im_id of the first stored property with the settlement and all four
  // cadastral groups of `wanted`, or -1.
  int32_t FindByCadastralId(const TObektDB& wanted) const;
  // Claims `key` (see PropertyKey) for the property just stored;
  // db::DuplicateKeyError when another transaction holds it.
  void ClaimKey(const std::string& key, int32_t propertyId) const;
  // IM_ZONE of property `propertyId`; 0 when there is none.
  int32_t Zone(int32_t propertyId) const;

 private:
  db::Transaction& tx_;
};

}  // namespace zrv::contracts
