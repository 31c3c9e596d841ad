// The length of a period as whole months and remaining days, counted with
// the 30.416-day average month that the rent schedule uses throughout.

#include <cmath>

#include "common/Dates.h"
#include "common/Rounding.h"

namespace zrv {

namespace {

constexpr double kAverageMonth = 30.416;

int RoundMonths(double days) { return static_cast<int>(RoundHalfEven(days / kAverageMonth)); }

// Day `day` of the month before (year, month). In February a day past the 28th
// becomes the month's last day; in every other month day 31 is read as day 30.
TDate SameDayMonthBefore(int year, int month, int day) {
  if (month == 1) return EncodeDate(year - 1, 12, day);
  if (month == 3) return EncodeDate(year, 2, day <= 28 ? day : DaysInMonth(year, 2));
  return EncodeDate(year, month - 1, day == 31 ? 30 : day);
}

}  // namespace

void MonthsAndDays(TDate start, TDate end, int& months, int& days) {
  int ys, ms, ds, ye, me, de;
  DecodeDate(start, ys, ms, ds);
  DecodeDate(end, ye, me, de);
  const double span = end - start;
  const int monthLength = DaysInMonth(ye, me);

  if (ds - de == 1 || (ds == 1 && de == monthLength)) {
    // The end is the day before a monthly anniversary, or the period is whole
    // calendar months.
    months = RoundMonths(span);
    days = 0;
  } else if (de >= ds) {
    const TDate anchor = EncodeDate(ye, me, ds) - 1;
    const double whole = anchor - start;
    days = static_cast<int>(std::trunc(span - whole));
    months = RoundMonths(whole);
  } else if (span < kAverageMonth) {
    days = static_cast<int>(std::trunc(span)) + 1;
    months = 0;
  } else {
    const double rest = end - SameDayMonthBefore(ye, me, ds);
    days = static_cast<int>(std::trunc(rest));
    months = RoundMonths(span - rest);
  }
}

}  // namespace zrv
