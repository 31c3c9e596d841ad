// What both schedule kinds share: the term, a new period, the annex in force.

#include "schedule/ScheduleBuilder.h"

#include <cmath>

#include "common/Text.h"
#include "schedule/ScheduleLimits.h"

namespace zrv::schedule {
namespace {

const char* const kMsgNoAnnexes =
    "Договор %d няма анекси: погасителният план не може да бъде построен.";
const char* const kMsgDatesOutOfRange =
    "Договор %d: датите на погасителния план (%s - %s) са извън годините 1900 "
    "- 9899.";
const char* const kMsgStopBeforeStart =
    "Договор %d: краят на договора (%s) е преди началото му (%s).";
const char* const kMsgTermTooLong = "Договор %d: срокът от %s до %s е по-дълъг от %d месеца.";
const char* const kMsgNoAnnexForDay =
    "Договор %d: нито един анекс не покрива %s: погасителният план не може да "
    "бъде построен.";

}  // namespace

void ScheduleBuilder::TermOf(TDate end, TDate& first, TDate& last) const {
  if (annexes_.Empty()) throw Error(Format(kMsgNoAnnexes, docId_));
  first = annexes_.At(0).AN_DTStart;
  last = end != 0 ? std::trunc(end) : annexes_.Last().AN_DTStop;
  const std::string firstText = FormatDMY(first);
  const std::string lastText = FormatDMY(last);
  if (!InScheduleRange(first) || !InScheduleRange(last))
    throw Error(Format(kMsgDatesOutOfRange, docId_, firstText.c_str(), lastText.c_str()));
  if (last < first)
    throw Error(Format(kMsgStopBeforeStart, docId_, lastText.c_str(), firstText.c_str()));
  if (last > IncMonth(first, kMaxTermMonths))
    throw Error(
        Format(kMsgTermTooLong, docId_, firstText.c_str(), lastText.c_str(), kMaxTermMonths));
}

TRentRow& ScheduleBuilder::AppendRow(TDate start, int32_t days) {
  int year, month, day;
  DecodeDate(start, year, month, day);
  TRentRow& row = rents_.Append();
  row.RI_DOCID = docId_;
  row.RI_YEAR = static_cast<int16_t>(year);
  row.RI_MONTH = static_cast<int16_t>(month);
  row.RI_DAYS = days;
  row.RI_DTSTART = start;
  return row;
}

int ScheduleBuilder::AnnexHolding(int k, TDate day) const {
  while (k < annexes_.Count() &&
         !DateBetween(day, annexes_.At(k).AN_DTStart, annexes_.At(k).AN_DTStop))
    ++k;
  if (k >= annexes_.Count()) FailNoAnnex(day);
  return k;
}

void ScheduleBuilder::FailNoAnnex(TDate day) const {
  throw Error(Format(kMsgNoAnnexForDay, docId_, FormatDMY(day).c_str()));
}

}  // namespace zrv::schedule
