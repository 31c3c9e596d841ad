#include "state/store/BaseRatesStore.h"

#include "platform/db/Transaction.h"

namespace zrv::state {

namespace {

constexpr const char* kSelectRates =
    "select BR_FIRSTDAY, BR_LASTDAY, BR_RATE, BR_DAILY, BR_ISSUED from "
    "BASERATES "
    "order by BR_FIRSTDAY";
constexpr const char* kDeleteRates = "delete from BASERATES";
constexpr const char* kInsertRate =
    "insert into BASERATES (BR_FIRSTDAY, BR_LASTDAY, BR_RATE, BR_DAILY, "
    "BR_ISSUED) "
    "values (:first, :last, :rate, :daily, :issued)";

}  // namespace

void LoadBaseRates(db::Connection& connection, BaseRateTable& table) {
  table.Clear();
  auto q = connection.NewQuery();
  q->SetSQL(kSelectRates);
  q->Open();
  for (; !q->Eof(); q->Next()) {
    BaseRatePeriod p;
    p.firstDay = q->FieldByName("BR_FIRSTDAY").AsDateTime();
    p.lastDay = q->FieldByName("BR_LASTDAY").AsDateTime();
    p.ratePercent = q->FieldByName("BR_RATE").AsFloat();
    p.dailyFactor = q->FieldByName("BR_DAILY").AsFloat();
    p.issueDate = q->FieldByName("BR_ISSUED").AsDateTime();
    table.Add(p);
  }
}

void StoreBaseRates(db::Connection& connection, const BaseRateTable& table) {
  db::OwnTransaction tx(connection);
  auto q = connection.NewQuery();
  q->SetSQL(kDeleteRates);
  q->Execute();
  q->SetSQL(kInsertRate);
  for (const BaseRatePeriod& p : table.Entries()) {
    q->SetDateTime("first", p.firstDay);
    q->SetDateTime("last", p.lastDay);
    q->SetFloat("rate", p.ratePercent);
    q->SetFloat("daily", p.dailyFactor);
    q->SetDateTime("issued", p.issueDate);
    q->Execute();
  }
  tx.Commit();
}

}  // namespace zrv::state
