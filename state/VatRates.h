#pragma once
// The VAT rate of each VAT code (an annex's AN_DDS). A code the table does not
// hold has the rate 0.

#include <cstdint>
#include <map>

namespace zrv::state {

class VatRateTable {
 public:
  // Sets the rate, in percent, of one code (replacing an earlier one).
  void Set(int16_t code, double ratePercent) { rates_[code] = ratePercent; }
  void Clear() { rates_.clear(); }
  // The rate in percent of the code, 0 when the table does not hold it.
  double RateOf(int16_t code) const {
    auto it = rates_.find(code);
    return it == rates_.end() ? 0.0 : it->second;
  }

 private:
  std::map<int16_t, double> rates_;
};

}  // namespace zrv::state
