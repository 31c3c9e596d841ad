#include "schedule/DocCreateInfo.h"

#include <memory>
#include <set>

#include "common/Text.h"
#include "platform/db/Transaction.h"
#include "schedule/ScheduleBuilder.h"

namespace zrv::schedule {
namespace {

const char* const kSelectAnnexes =
    "select * from anecs where an_id = :an_id order by an_num";

// The periods a contract already has, read once before its schedule is
// written: one statement instead of one look-up per month.
const char* const kSelectStoredPeriods =
    "SELECT RI_YEAR*100 + RI_MONTH FROM RENTSINFO WHERE RI_DOCID = :docid";
const char* const kInsertRent =
    "INSERT INTO RENTSINFO (RI_DOCID, RI_YEAR, RI_MONTH, RI_DAYS, RI_PRICE, "
    "RI_DTSTART, "
    "RI_CARRIED) \rVALUES (:docid, :year, :month, :days, :price, :dtstart, "
    ":carried)";
const char* const kUpdateRent =
    "UPDATE RENTSINFO SET RI_DAYS = :days, RI_DTSTART = :dtstart, RI_PRICE = "
    ":price\r"
    "WHERE ( (RI_DOCID = :docid) AND (RI_MONTH = :month) AND (RI_YEAR = :year) "
    ")";
const char* const kDeleteOutside =
    "DELETE FROM RENTSINFO WHERE ( ( ( RI_YEAR*100 + RI_MONTH <  :lowborder) "
    "OR "
    "( RI_YEAR*100 + RI_MONTH > :highborder ) ) AND (RI_DOCID = :docid) )";

}  // namespace

void TDocCreateInfo::LoadAnnexes(int32_t docId) {
  std::unique_ptr<db::Query> query = db_.NewQuery();
  query->SetSQL(kSelectAnnexes);
  query->SetInteger("an_id", docId);
  query->Open();
  annexes_.LoadFromQuery(*query);
  query->Close();
  rents_.Clear();
}

void TDocCreateInfo::UseAnnexes(const TAnecses& annexes) {
  annexes_.Clear();
  for (int i = 0; i < annexes.Count(); ++i) annexes_.Append(annexes.At(i));
  rents_.Clear();
}

void TDocCreateInfo::BuildCalendarSchedule(int32_t docId, TDate end) {
  LoadAnnexes(docId);
  ScheduleBuilder(docId, annexes_, rents_).BuildCalendar(end);
}

void TDocCreateInfo::BuildAnniversarySchedule(int32_t docId, TDate end) {
  LoadAnnexes(docId);
  ScheduleBuilder(docId, annexes_, rents_).BuildAnniversary(end);
}

void TDocCreateInfo::BuildCalendarSchedule(int32_t docId,
                                           const TAnecses& annexes,
                                           TDate end) {
  UseAnnexes(annexes);
  ScheduleBuilder(docId, annexes_, rents_).BuildCalendar(end);
}

void TDocCreateInfo::BuildAnniversarySchedule(int32_t docId,
                                              const TAnecses& annexes,
                                              TDate end) {
  UseAnnexes(annexes);
  ScheduleBuilder(docId, annexes_, rents_).BuildAnniversary(end);
}

void TDocCreateInfo::StoreSchedule(bool updateExisting) {
  db::OwnTransaction transaction(db_);
  std::unique_ptr<db::Query> query = db_.NewQuery();
  // Every row of the list belongs to the same contract.
  std::set<int32_t> stored;
  if (!rents_.Empty()) {
    query->SetSQL(kSelectStoredPeriods);
    query->SetInteger("docid", rents_.First()->RI_DOCID);
    query->Open();
    for (; !query->Eof(); query->Next())
      stored.insert(query->FieldAt(0).AsInteger());  // as TRentRow::PeriodKey
    query->Close();
  }
  for (int i = 0; i < rents_.Count(); ++i) {
    const TRentRow& row = *rents_.At(i);
    // A period written earlier in this list counts as stored, as it would
    // for a look-up made just before the row.
    if (stored.insert(row.PeriodKey()).second) {
      query->SetSQL(kInsertRent);
      query->SetInteger("docid", row.RI_DOCID);
      query->SetInteger("year", row.RI_YEAR);
      query->SetInteger("month", row.RI_MONTH);
      query->SetInteger("days", row.RI_DAYS);
      query->SetFloat("price", row.RI_PRICE);
      query->SetDateTime("dtstart", row.RI_DTSTART);
      query->SetFloat("carried", row.RI_CARRIED);
      query->Execute();
    } else if (updateExisting || row.LastAnnex) {
      query->SetSQL(kUpdateRent);
      query->SetInteger("days", row.RI_DAYS);
      query->SetDateTime("dtstart", row.RI_DTSTART);
      query->SetFloat("price", row.RI_PRICE);
      query->SetInteger("docid", row.RI_DOCID);
      query->SetInteger("month", row.RI_MONTH);
      query->SetInteger("year", row.RI_YEAR);
      query->Execute();
    }
  }
  if (!rents_.Empty()) {
    query->SetSQL(kDeleteOutside);
    query->SetInteger("lowborder", rents_.First()->PeriodKey());
    query->SetInteger("highborder", rents_.Last()->PeriodKey());
    query->SetInteger("docid", rents_.Last()->RI_DOCID);
    query->Execute();
  }
  transaction.Commit();
}

}  // namespace zrv::schedule
