#include "state/store/StateTablesStore.h"

#include "state/store/BaseRatesStore.h"

namespace zrv::state {

namespace {
constexpr const char* kSelectVatRates = "select VR_CODE, VR_RATE from VATRATES";
constexpr const char* kSelectCurrencyFactors = "select CF_CODE, CF_FACTOR from CURRENCYFACTORS";

// Calls store(code, value) for each row of a two-column select.
template <typename Store>
void ReadCodes(db::Connection& connection, const char* sql, Store store) {
  auto q = connection.NewQuery();
  q->SetSQL(sql);
  q->Open();
  for (; !q->Eof(); q->Next()) {
    store(static_cast<int16_t>(q->FieldAt(0).AsInteger()), q->FieldAt(1).AsFloat());
  }
}
}  // namespace

void LoadVatRates(db::Connection& connection, VatRateTable& table) {
  table.Clear();
  ReadCodes(connection, kSelectVatRates, [&](int16_t code, double rate) { table.Set(code, rate); });
}

void LoadCurrencyFactors(db::Connection& connection, CurrencyFactorTable& table) {
  table.Clear();
  ReadCodes(connection, kSelectCurrencyFactors,
            [&](int16_t code, double factor) { table.Set(code, factor); });
}

StateTables LoadStateTables(db::Connection& connection) {
  StateTables tables;
  LoadBaseRates(connection, tables.baseRates);
  LoadVatRates(connection, tables.vatRates);
  LoadCurrencyFactors(connection, tables.currencyFactors);
  return tables;
}

}  // namespace zrv::state
