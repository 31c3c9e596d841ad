#pragma once
// The statement of renttypes, in a transaction the caller gives.

#include <cstdint>
#include <functional>

#include "contracts/RentTypes.h"
#include "platform/db/Database.h"

namespace zrv::contracts {

class RentTypeStore {
 public:
  explicit RentTypeStore(db::Transaction& tx) : tx_(tx) {}

  // Hands `each` the rent types of application `appId` (of every application
  // when it is -1), in the order the database gives them, unmarked; those
  // handed over before an error stay handed over.
  void Load(int32_t appId, const std::function<void(TRentTypeRec)>& each) const;

 private:
  db::Transaction& tx_;
};

}  // namespace zrv::contracts
