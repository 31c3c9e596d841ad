#include "schedule/StateTables.h"

#include "schedule/BaseRatesStore.h"

namespace zrv {

namespace {

constexpr const char* kSelectVatRates = "select VR_CODE, VR_RATE from VATRATES";
constexpr const char* kSelectCurrencyFactors = "select CF_CODE, CF_FACTOR from CURRENCYFACTORS";

void LoadCodeTable(db::Connection& connection, const char* sql, CodeTable& table) {
  table.Clear();
  auto q = connection.NewQuery();
  q->SetSQL(sql);
  q->Open();
  for (; !q->Eof(); q->Next()) table.Set(q->FieldAt(0).AsInteger(), q->FieldAt(1).AsFloat());
}

}  // namespace

double CodeTable::ValueOf(int code) const {
  const auto it = values_.find(code);
  return it == values_.end() ? 0.0 : it->second;
}

CodeTable& ProcessVatRates() {
  static CodeTable table;
  return table;
}

CodeTable& ProcessCurrencyFactors() {
  static CodeTable table;
  return table;
}

void LoadVatRates(db::Connection& connection, CodeTable& table) {
  LoadCodeTable(connection, kSelectVatRates, table);
}

void LoadCurrencyFactors(db::Connection& connection, CodeTable& table) {
  LoadCodeTable(connection, kSelectCurrencyFactors, table);
}

void LoadStateTables(db::Connection& connection) {
  LoadBaseRates(connection, ProcessBaseRates());
  LoadVatRates(connection, ProcessVatRates());
  LoadCurrencyFactors(connection, ProcessCurrencyFactors());
}

}  // namespace zrv
