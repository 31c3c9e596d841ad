#pragma once
// The look-up tables a contract state is computed with: base-rate periods
// (BASERATES), VAT rate by annex VAT code (VATRATES, AN_DDS) and currency
// factor by contract currency code (CURRENCYFACTORS, DA_VALUTA). A command
// loads them once (state/store/StateTablesStore.h) and hands them to every
// contract it loads.

#include <cstdint>
#include <map>

#include "state/BaseRates.h"
#include "state/VatRates.h"

namespace zrv::state {

// Factor converting an amount in a contract's currency to leva; 0 for an
// unknown currency and for one without a fixed factor that nobody has set.
class CurrencyFactorTable {
 public:
  void Clear() { factors_.clear(); }
  void Set(int16_t currency, double factor) { factors_[currency] = factor; }
  double FactorOf(int16_t currency) const {
    const auto it = factors_.find(currency);
    return it == factors_.end() ? 0.0 : it->second;
  }

 private:
  std::map<int16_t, double> factors_;
};

struct StateTables {
  BaseRateTable baseRates;
  VatRateTable vatRates;
  CurrencyFactorTable currencyFactors;
};

}  // namespace zrv::state
