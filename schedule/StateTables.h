#pragma once
// Look-up tables of the contract state: VAT rate by annex VAT code (AN_DDS, table VATRATES)
// and currency factor by contract currency code (DA_VALUTA, table CURRENCYFACTORS).
// The program loads the process-wide copies once at start-up; an unknown code gives 0.

#include <map>

#include "platform/db/Database.h"
#include "schedule/BaseRates.h"

namespace zrv {

class CodeTable {
 public:
  void Clear() { values_.clear(); }
  void Set(int code, double value) { values_[code] = value; }
  // The value of the code; 0 for an unknown code.
  double ValueOf(int code) const;

 private:
  std::map<int, double> values_;
};

// VAT rate in percent by AN_DDS.
CodeTable& ProcessVatRates();
// Factor to leva by DA_VALUTA.
CodeTable& ProcessCurrencyFactors();

void LoadVatRates(db::Connection& connection, CodeTable& table);
void LoadCurrencyFactors(db::Connection& connection, CodeTable& table);

// Fills the process-wide base-rate, VAT-rate and currency-factor tables from the database.
void LoadStateTables(db::Connection& connection);

}  // namespace zrv
