#include "schedule/store/AnnexStore.h"

#include <memory>
#include <string>

#include "common/Rounding.h"

namespace zrv::schedule {
namespace {

const char* const kSelectContract =
    "select doc_type, Doc_DataStart, Doc_DataStop from documents where doc_id "
    "= :doc_id";
const char* const kUpdateStop =
    "update Documents set DOC_DATASTOP = :stop, DA_IF2 = :if2 where DOC_ID = "
    ":doc_id";
const char* const kInsertAnnexColumns =
    "Insert into Anecs (AN_Id, AN_Num, AN_Data, AN_Price, AN_AddPrice, "
    "AN_DTStart, "
    "AN_Reason,AN_Coment,\rAN_LType, AN_LPercent, AN_LMax, AN_DDS, AN_Valuta, "
    "AN_PayDay, "
    "AN_FreeDate)";
// The annex's values are parameters, so one prepared statement serves every
// annex of a run; dates and amounts go in as the day.month.year and
// two-decimal texts the server converts to the column.
const char* const kInsertAnnexValues =
    "Values(:an_id, :an_num, :an_data, :an_price, :an_addprice, :an_dtstart, "
    ":an_reason, :an_coment,\r:an_ltype, :an_lpercent, :an_lmax, :an_dds, "
    ":an_valuta, :an_payday, :an_freedate)";

const char* const kSelectAnnexes = "select * from anecs where an_id = :an_id order by an_num";

}  // namespace

ContractPeriod AnnexStore::Period(int32_t docId) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectContract);
  query->SetInteger("doc_id", docId);
  query->Open();
  ContractPeriod period;
  if (!query->Eof()) {
    period.type = query->FieldByName("doc_type").AsInteger();
    period.start = query->FieldByName("Doc_DataStart").AsDateTime();
    period.stop = query->FieldByName("Doc_DataStop").AsDateTime();
  }
  return period;
}

void AnnexStore::MoveStop(int32_t docId, TDate stop, int32_t oldTermMonths) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kUpdateStop);
  query->SetString("stop", FormatDMY(stop));
  query->SetInteger("if2", oldTermMonths);
  query->SetInteger("doc_id", docId);
  query->Execute();
}

void AnnexStore::Insert(int32_t docId, const TAnecsRow& annex) const {
  const TDate annexDate = annex.AN_Data != 0 ? annex.AN_Data : Now();
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(std::string(kInsertAnnexColumns) + kInsertAnnexValues);
  query->SetInteger("an_id", docId);
  query->SetInteger("an_num", annex.AN_NUM);
  query->SetString("an_data", FormatDMY(annexDate));
  query->SetString("an_price", AmountText(annex.AN_PRICE));
  query->SetString("an_addprice", AmountText(annex.AN_AddPrice));
  query->SetString("an_dtstart", FormatDMY(annex.AN_DTStart));
  query->SetString("an_reason", annex.AN_REASON);
  query->SetString("an_coment", annex.AN_COMENT);
  query->SetInteger("an_ltype", annex.AN_LType);
  query->SetString("an_lpercent", AmountText(annex.AN_LPercent));
  query->SetString("an_lmax", AmountText(annex.AN_LMAX));
  query->SetInteger("an_dds", annex.AN_DDS);
  query->SetInteger("an_valuta", 0);
  query->SetInteger("an_payday", annex.AN_PayDay);
  query->SetString("an_freedate", FormatDMY(annex.AN_FreeDate));
  query->Execute();
}

void AnnexStore::Load(int32_t docId, TAnecses& annexes) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectAnnexes);
  query->SetInteger("an_id", docId);
  query->Open();
  annexes.LoadFromQuery(*query);
}

}  // namespace zrv::schedule
