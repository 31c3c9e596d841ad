// The calendar-month schedule of ScheduleBuilder: one period per calendar month
// from the first annex's start to the contract's end, each priced by the days
// every annex covers in it.

#include <cmath>

#include "schedule/RoundMoney.h"
#include "schedule/ScheduleBuilder.h"

namespace zrv::schedule {

void ScheduleBuilder::BuildCalendar(TDate end) {
  TDate first = 0, last = 0;
  TermOf(end, first, last);
  int endYear, endMonth, endDay;
  DecodeDate(last, endYear, endMonth, endDay);

  // One row per month; the first starts on the contract's start, the others on
  // the 1st.
  for (TDate cursor = first;; cursor = IncMonth(cursor, 1)) {
    int year, month, day;
    DecodeDate(cursor, year, month, day);
    if (year > endYear || (year == endYear && month > endMonth)) break;
    const TDate rowStart = rents_.Empty() ? cursor : EncodeDate(year, month, 1);
    const TDate monthEnd = EncodeDate(year, month, DaysInMonth(year, month));
    AppendRow(rowStart, static_cast<int32_t>(monthEnd - rowStart + 1));
  }
  TRentRow& lastRow = *rents_.Last();
  lastRow.RI_DAYS = static_cast<int32_t>(last - lastRow.RI_DTSTART + 1);

  // Each row is charged day by day at the price of the annex in force: an annex
  // that stops inside the row charges its days up to its stop, the next annex
  // the days after it.
  const int annexCount = annexes_.Count();
  int k = 0;
  for (int i = 0; i < rents_.Count(); ++i) {
    TRentRow& row = *rents_.At(i);
    // The annexes may all stop before this period: then it has no price to be
    // charged at.
    if (k >= annexCount) FailNoAnnex(row.RI_DTSTART);
    TDate from = row.RI_DTSTART;
    const TDate rowEnd = row.RI_DTSTART + row.RI_DAYS - 1;
    const double daysInMonth = DaysInMonth(row.RI_YEAR, row.RI_MONTH);
    row.LastAnnex = (k == annexCount - 1);
    double price = 0;
    for (;;) {
      const TAnecsRow& annex = annexes_.At(k);
      if (DateBetween(annex.AN_DTStop, from, rowEnd)) {
        price += std::trunc(annex.AN_DTStop - from + 1) / daysInMonth * annex.AN_PRICE;
        from = annex.AN_DTStop + 1;
        if (++k == annexCount) break;
      } else {
        price += std::trunc(rowEnd - from + 1) / daysInMonth * annex.AN_PRICE;
        break;
      }
    }
    row.RI_PRICE = RoundMoney(price);
  }
}

}  // namespace zrv::schedule
