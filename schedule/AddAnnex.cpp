#include "schedule/AddAnnex.h"

#include <cmath>
#include <memory>

#include "common/Rounding.h"
#include "common/Text.h"
#include "platform/db/Transaction.h"
#include "schedule/ContractTypes.h"
#include "schedule/RebuildSchedule.h"
#include "schedule/ScheduleLimits.h"

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

const char* const kMsgAnnexDatesOutOfRange =
    "Анекс %d: датите му (%s - %s) са извън годините 1900 - 9899.";
const char* const kMsgAnnexStopBeforeStart =
    "Анекс %d: краят му (%s) е преди началото му (%s).";
const char* const kMsgNotMonthly = "Договорът не е с месечно погасяване.";
const char* const kMsgQueryFailed = "Грешка при активиране на  заявка : ";

// The reason an annex's own dates cannot be stored, or "" when they can: the
// annex's stop becomes the contract's stop, so an empty or reversed period
// would break the contract.
std::string AnnexDatesProblem(const TAnecsRow& annex) {
  const std::string start = FormatDMY(annex.AN_DTStart);
  const std::string stop = FormatDMY(annex.AN_DTStop);
  if (!InScheduleRange(annex.AN_DTStart) || !InScheduleRange(annex.AN_DTStop))
    return Format(kMsgAnnexDatesOutOfRange, annex.AN_NUM, start.c_str(),
                  stop.c_str());
  if (std::trunc(annex.AN_DTStop) < std::trunc(annex.AN_DTStart))
    return Format(kMsgAnnexStopBeforeStart, annex.AN_NUM, stop.c_str(),
                  start.c_str());
  return "";
}

struct StoredContract {
  int32_t type = 0;
  TDate start = 0;
  TDate stop = 0;
};

StoredContract ReadContract(db::Connection& db, int32_t docId) {
  std::unique_ptr<db::Query> query = db.NewQuery();
  query->SetSQL(kSelectContract);
  query->SetInteger("doc_id", docId);
  query->Open();
  StoredContract contract;
  if (!query->Eof()) {
    contract.type = query->FieldByName("doc_type").AsInteger();
    contract.start = query->FieldByName("Doc_DataStart").AsDateTime();
    contract.stop = query->FieldByName("Doc_DataStop").AsDateTime();
  }
  query->Close();
  return contract;
}

void InsertAnnex(db::Connection& db, int32_t docId, const TAnecsRow& annex) {
  const TDate annexDate = annex.AN_Data != 0 ? annex.AN_Data : Now();
  std::unique_ptr<db::Query> query = db.NewQuery();
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

// Moves the contract's stop to the annex's; DA_IF2 keeps the old term in
// 30-day months, from the dates as they were before this change.
void MoveContractStop(db::Connection& db, int32_t docId,
                      const StoredContract& contract, TDate stop) {
  std::unique_ptr<db::Query> query = db.NewQuery();
  query->SetSQL(kUpdateStop);
  query->SetString("stop", FormatDMY(stop));
  query->SetInteger(
      "if2", static_cast<int>(std::trunc(contract.stop - contract.start)) / 30);
  query->SetInteger("doc_id", docId);
  query->Execute();
}

}  // namespace

bool AddAnnex(db::Connection& db, int32_t docId, const TAnecsRow& annex,
              bool rebuild, std::string& message) {
  message.clear();
  try {
    const StoredContract contract = ReadContract(db, docId);
    if (!IsMonthlyType(contract.type)) {
      message = kMsgNotMonthly;
      return false;
    }
    const std::string problem = AnnexDatesProblem(annex);
    if (!problem.empty()) throw Error(problem);
    db::OwnTransaction transaction(db);
    if (std::trunc(annex.AN_DTStop) != std::trunc(contract.stop))
      MoveContractStop(db, docId, contract, annex.AN_DTStop);
    InsertAnnex(db, docId, annex);
    if (rebuild) RebuildSchedule(db, docId, true);
    transaction.Commit();
    return true;
  } catch (const db::DbError& e) {
    message = std::string(kMsgQueryFailed) + e.what();
    throw;
  } catch (const std::exception& e) {
    message = e.what();
    throw;
  }
}

}  // namespace zrv::schedule
