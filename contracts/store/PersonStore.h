#pragma once
// The statements of PERSONS and person_keys, in a transaction the caller
// gives: persons found by identity number or as a firm's representative,
// added, claimed, and asked whether an object unit refers to them.

#include <cstdint>
#include <string>

#include "contracts/PersonTasks.h"
#include "platform/db/Database.h"

namespace zrv::contracts {

class PersonStore {
 public:
  explicit PersonStore(db::Transaction& tx) : tx_(tx) {}

  // PER_ID of the first stored person whose PER_EGN equals `egn` exactly, or
  // -1.
  int32_t FindByEgn(const std::string& egn) const;
  // PER_ID of the representative (PER_MOL) of person `personId` named `name`
  // exactly, or -1.
  int32_t FindRepresentative(int32_t personId, const std::string& name) const;
  // Adds the person and gives its new PER_ID (the greatest, read back in the
  // same transaction). A text the database cannot hold is refused with
  // zrv::Error before the statement runs.
  int32_t Insert(const TPersonSrchRec& person) const;
  // How many obunits rows name the person.
  int32_t CountObjectUnits(int32_t personId) const;
  // Claims the identity number for the person just stored; db::DuplicateKeyError
  // when another transaction holds it.
  void ClaimKey(const std::string& egn, int32_t personId) const;

 private:
  db::Transaction& tx_;
};

}  // namespace zrv::contracts
