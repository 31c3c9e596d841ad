#pragma once
// The statements of CHARACTERISTICS and CHARACTERISTICS_DOC, in a
// transaction the caller gives: an application's characteristics with their
// defaults, and the values one contract gives them.

#include <cstdint>
#include <functional>
#include <vector>

#include "contracts/Characteristics.h"
#include "platform/db/Database.h"

namespace zrv::contracts {

// A contract's value of one characteristic (a CHARACTERISTICS_DOC row).
struct DocCharacteristic {
  int32_t chId = 0;
  std::string value;
  std::string noUseValue;
  bool checked = false;  // CD_CHECKED is "T"
};

class CharacteristicStore {
 public:
  explicit CharacteristicStore(db::Transaction& tx) : tx_(tx) {}

  // Hands `each` the characteristics of application `appId`, unchecked, in
  // the order the database gives them (those handed over before an error
  // stay handed over).
  void Defaults(int32_t appId, const std::function<void(TCharacteristic)>& each) const;
  // The characteristics contract `docId` gives a value.
  std::vector<DocCharacteristic> OfContract(int32_t docId) const;
  void DeleteOfContract(int32_t docId) const;
  void Insert(int32_t docId, const TCharacteristic& entry) const;

 private:
  db::Transaction& tx_;
};

}  // namespace zrv::contracts
