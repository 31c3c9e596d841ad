// The anniversary schedule of ScheduleBuilder: periods from the contract's start
// day of month to the same day of the next month, then a remainder period up to
// the contract's end. Prices are not rounded.

#include <cmath>

#include "schedule/ScheduleBuilder.h"

namespace zrv::schedule {

void ScheduleBuilder::BuildAnniversary(TDate end) {
  TDate first = 0, last = 0;
  TermOf(end, first, last);
  int startYear, startMonth, startDay;
  DecodeDate(first, startYear, startMonth, startDay);

  int months = 0, extraDays = 0;
  MonthsAndDays(first, last, months, extraDays);
  int periods = months;
  double price = annexes_.At(0).AN_PRICE;
  double addPrice = annexes_.At(0).AN_AddPrice;
  const TAnecsRow& lastAnnex = annexes_.Last();
  if (extraDays > 0 && lastAnnex.AN_AddPrice != 0) ++periods;

  // A last annex without a monthly price spreads its additional price over the
  // days; any other annex without a monthly price charges nothing.
  double dailyRate = 0;
  if (lastAnnex.AN_PRICE == 0 && lastAnnex.AN_AddPrice != 0) {
    if (months != 0) {
      dailyRate = addPrice / (std::trunc(last - first) + 1);
      periods = months;
    } else {
      periods = 1;
    }
    if (extraDays > 0) ++periods;
  }

  // Moves k on to the annex in force on `day`; the prices follow only when k
  // moves.
  int k = 0;
  auto followAnnex = [&](TDate day) {
    const int next = AnnexHolding(k, day);
    if (next != k) {
      k = next;
      price = annexes_.At(k).AN_PRICE;
      addPrice = annexes_.At(k).AN_AddPrice;
    }
  };

  // The cursor steps a month at a time from the start and is never put back on
  // the start day; a row starts on the start day whenever the cursor's month
  // has it.
  TDate cursor = first;
  while (rents_.Count() < periods - 1) {
    int year, month, day;
    DecodeDate(cursor, year, month, day);
    TDate rowStart = cursor;
    if (day != startDay && startDay <= DaysInMonth(year, month))
      rowStart = EncodeDate(year, month, startDay);
    TRentRow& row = AppendRow(rowStart, static_cast<int32_t>(IncMonth(rowStart, 1) - rowStart));
    followAnnex(rowStart);
    if (price != 0) {
      row.RI_PRICE = price;
    } else {
      row.RI_PRICE = row.RI_DAYS * dailyRate;
      addPrice -= row.RI_PRICE;
    }
    cursor = IncMonth(cursor, 1);
  }

  // The closing period runs from the cursor; its day count has no added day.
  followAnnex(cursor);
  TRentRow& row = AppendRow(cursor, static_cast<int32_t>(std::trunc(last - cursor)));
  row.RI_PRICE = addPrice != 0 ? addPrice : price;
}

}  // namespace zrv::schedule
