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
    "= %d";
const char* const kUpdateStop =
    "update Documents set DOC_DATASTOP = \"%s\", DA_IF2 = %d where DOC_ID = %d";
const char* const kInsertAnnexColumns =
    "Insert into Anecs (AN_Id, AN_Num, AN_Data, AN_Price, AN_AddPrice, "
    "AN_DTStart, "
    "AN_Reason,AN_Coment,\rAN_LType, AN_LPercent, AN_LMax, AN_DDS, AN_Valuta, "
    "AN_PayDay, "
    "AN_FreeDate)";
const char* const kInsertAnnexValues =
    "Values(%d,%d,\"%s\",%s, %s, \"%s\",\"%s\",\"%s\",\r%d, %s, %s, "
    "%d, %d, %d, \"%s\")";

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
  query->SetSQL(Format(kSelectContract, docId));
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

std::string InsertStatement(int32_t docId, const TAnecsRow& annex) {
  const TDate annexDate = annex.AN_Data != 0 ? annex.AN_Data : Now();
  return std::string(kInsertAnnexColumns) +
         Format(kInsertAnnexValues, docId, annex.AN_NUM,
                FormatDMY(annexDate).c_str(),
                AmountText(annex.AN_PRICE).c_str(),
                AmountText(annex.AN_AddPrice).c_str(),
                FormatDMY(annex.AN_DTStart).c_str(),
                DoubleQuotes(annex.AN_REASON).c_str(),
                DoubleQuotes(annex.AN_COMENT).c_str(), annex.AN_LType,
                AmountText(annex.AN_LPercent).c_str(),
                AmountText(annex.AN_LMAX).c_str(), annex.AN_DDS, 0,
                annex.AN_PayDay, FormatDMY(annex.AN_FreeDate).c_str());
}

void Run(db::Connection& db, const std::string& sql) {
  std::unique_ptr<db::Query> query = db.NewQuery();
  query->SetSQL(sql);
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
    std::string updateStop;
    if (std::trunc(annex.AN_DTStop) != std::trunc(contract.stop)) {
      // The old term in 30-day months, from the dates as they were before this
      // change.
      const int oldTermMonths =
          static_cast<int>(std::trunc(contract.stop - contract.start)) / 30;
      updateStop = Format(kUpdateStop, FormatDMY(annex.AN_DTStop).c_str(),
                          oldTermMonths, docId);
    }
    const std::string insert = InsertStatement(docId, annex);

    db::OwnTransaction transaction(db);
    if (!updateStop.empty()) Run(db, updateStop);
    Run(db, insert);
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
