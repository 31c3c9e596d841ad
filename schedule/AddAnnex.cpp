#include "schedule/AddAnnex.h"

#include <cmath>

#include "common/Rounding.h"
#include "common/Text.h"
#include "platform/db/Transaction.h"
#include "schedule/ContractTypes.h"
#include "schedule/RebuildSchedule.h"
#include "schedule/ScheduleLimits.h"
#include "schedule/store/AnnexStore.h"

namespace zrv::schedule {
namespace {

const char* const kMsgAnnexDatesOutOfRange =
    "Анекс %d: датите му (%s - %s) са извън годините 1900 - 9899.";
const char* const kMsgAnnexStopBeforeStart = "Анекс %d: краят му (%s) е преди началото му (%s).";
const char* const kMsgNotMonthly = "Договорът не е с месечно погасяване.";
const char* const kMsgQueryFailed = "Грешка при активиране на  заявка : ";

// The reason an annex's own dates cannot be stored, or "" when they can: the
// annex's stop becomes the contract's stop, so an empty or reversed period
// would break the contract.
std::string AnnexDatesProblem(const TAnecsRow& annex) {
  const std::string start = FormatDMY(annex.AN_DTStart);
  const std::string stop = FormatDMY(annex.AN_DTStop);
  if (!InScheduleRange(annex.AN_DTStart) || !InScheduleRange(annex.AN_DTStop))
    return Format(kMsgAnnexDatesOutOfRange, annex.AN_NUM, start.c_str(), stop.c_str());
  if (std::trunc(annex.AN_DTStop) < std::trunc(annex.AN_DTStart))
    return Format(kMsgAnnexStopBeforeStart, annex.AN_NUM, stop.c_str(), start.c_str());
  return "";
}

}  // namespace

bool AddAnnex(db::Connection& db, int32_t docId, const TAnecsRow& annex, bool rebuild,
              std::string& message) {
  message.clear();
  try {
    db::OwnTransaction transaction(db);
    const bool added = AddAnnex(transaction.Get(), docId, annex, rebuild, message);
    if (added) transaction.Commit();
    return added;
  } catch (const db::DbError& e) {
    // Starting or committing the transaction failed (the annex's own errors
    // have set the message already).
    if (message.empty()) message = std::string(kMsgQueryFailed) + e.what();
    throw;
  }
}

bool AddAnnex(db::Transaction& tx, int32_t docId, const TAnecsRow& annex, bool rebuild,
              std::string& message) {
  message.clear();
  try {
    const AnnexStore store(tx);
    const ContractPeriod contract = store.Period(docId);
    if (!IsMonthlyType(contract.type)) {
      message = kMsgNotMonthly;
      return false;
    }
    const std::string problem = AnnexDatesProblem(annex);
    if (!problem.empty()) throw Error(problem);
    // DA_IF2 keeps the old term in 30-day months, from the dates as they were
    // before this change.
    if (std::trunc(annex.AN_DTStop) != std::trunc(contract.stop))
      store.MoveStop(docId, annex.AN_DTStop,
                     static_cast<int>(std::trunc(contract.stop - contract.start)) / 30);
    store.Insert(docId, annex);
    if (rebuild) RebuildSchedule(tx, docId, true);
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
