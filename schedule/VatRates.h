#pragma once
// The VAT rate of each VAT code (an annex's AN_DDS). The program fills the
// process-wide table at start-up; annexes look their rate up when they are
// loaded. A code the table does not hold has the rate 0, which is also every
// code's rate while nothing has been filled in.

#include <cstdint>
#include <map>

namespace zrv::schedule {

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

// The table the program fills at start-up; empty until then. Single-threaded
// use only.
VatRateTable& ProcessVatRates();

}  // namespace zrv::schedule
