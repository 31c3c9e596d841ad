#pragma once
// Look-up tables of the contract state kept in the database: base-rate periods
// (BASERATES), VAT rate by annex VAT code (VATRATES, AN_DDS) and currency
// factor by contract currency code (CURRENCYFACTORS, DA_VALUTA). The program
// fills the process-wide copies once at start-up.

#include <cstdint>
#include <map>

#include "platform/db/Database.h"
#include "schedule/BaseRates.h"
#include "schedule/VatRates.h"

namespace zrv::schedule {

// Factor converting an amount in a contract's currency to leva; 0 for an
// unknown currency and for one without a fixed factor that nobody has set.
class CurrencyFactorTable {
 public:
  void Clear() { factors_.clear(); }
  void Set(int16_t currency, double factor) { factors_[currency] = factor; }
  double FactorOf(int16_t currency) const;

 private:
  std::map<int16_t, double> factors_;
};

// The table the program fills at start-up; empty until then. Single-threaded
// use only.
CurrencyFactorTable& ProcessCurrencyFactors();

void LoadVatRates(db::Connection& connection, VatRateTable& table);
void LoadCurrencyFactors(db::Connection& connection,
                         CurrencyFactorTable& table);

// Fills the process-wide base-rate, VAT-rate and currency-factor tables from
// the database. Annexes take their VAT rate when they are loaded, so this runs
// before any contract is loaded.
void LoadStateTables(db::Connection& connection);

}  // namespace zrv::schedule
