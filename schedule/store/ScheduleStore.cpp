#include "schedule/store/ScheduleStore.h"

#include <memory>
#include <set>

namespace zrv::schedule {
namespace {

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

const char* const kSelectType = "select doc_type, doc_free from documents where doc_id = :doc_id";

}  // namespace

void ScheduleStore::Write(const TRentInfo& rents, bool updateExisting) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  // Every row of the list belongs to the same contract.
  std::set<int32_t> stored;
  if (!rents.Empty()) {
    query->SetSQL(kSelectStoredPeriods);
    query->SetInteger("docid", rents.First()->RI_DOCID);
    query->Open();
    for (; !query->Eof(); query->Next())
      stored.insert(query->FieldAt(0).AsInteger());  // as TRentRow::PeriodKey
    query->Close();
  }
  for (int i = 0; i < rents.Count(); ++i) {
    const TRentRow& row = *rents.At(i);
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
  if (!rents.Empty()) {
    query->SetSQL(kDeleteOutside);
    query->SetInteger("lowborder", rents.First()->PeriodKey());
    query->SetInteger("highborder", rents.Last()->PeriodKey());
    query->SetInteger("docid", rents.Last()->RI_DOCID);
    query->Execute();
  }
}

int32_t ScheduleStore::ContractType(int32_t docId) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectType);
  query->SetInteger("doc_id", docId);
  query->Open();
  return query->Eof() ? 0 : query->FieldByName("doc_type").AsInteger();
}

}  // namespace zrv::schedule
