#pragma once
// The terms and the storage folder a worksheet row's rent kind chooses. The row
// mapping applies the row's rent kind before filling the contract and copies
// the defaults into it; the file-link step stores the contract's scanned file
// under the folder.
//
// One object lives for a whole run: the defaults are reset by every
// ApplyRentKind, while the folder changes only when a rent kind matches, so a
// row of an unknown kind keeps the folder of the row before it.

#include <cstdint>
#include <string>

namespace zrv::contracts {

struct RentKindDefaults {
  int16_t VATCode = 1201;
  uint16_t PayDay = 225;     // day 25 of the month paid for
  int16_t InterestType = 1;  // base-rate periods plus the penalty percent
  double InterestPercent = 10.0;
  double InterestMax = 0.0;
};

class RentKinds {
 public:
  // Resets the defaults, then, when the text equals one of the known rent kinds
  // exactly (letter case included), takes that kind's VAT code and folder.
  void ApplyRentKind(const std::string& rentKindText);

  const RentKindDefaults& Defaults() const { return defaults_; }
  // The folder of the last matching rent kind; empty before the first match.
  const std::string& RentKindFolder() const { return folder_; }

 private:
  RentKindDefaults defaults_;
  std::string folder_;
};

}  // namespace zrv::contracts
