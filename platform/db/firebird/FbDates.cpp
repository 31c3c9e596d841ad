#include "platform/db/firebird/FbDates.h"

#include <cmath>

namespace zrv::db::fb {

namespace {
constexpr double kTicksPerDay = 86400.0 * ISC_TIME_SECONDS_PRECISION;
}

// Before day 0 the whole part is the date and the fraction, counted the other
// way, the time: -1.25 is 29.12.1899 06:00, as the program's date type has it.
ISC_TIMESTAMP ToTimestamp(double dayNumber) {
  double whole = std::trunc(dayNumber);
  double fraction = std::fabs(dayNumber - whole);
  auto ticks = static_cast<long long>(std::llround(fraction * kTicksPerDay));
  if (ticks >= static_cast<long long>(kTicksPerDay)) {
    ticks -= static_cast<long long>(kTicksPerDay);
    whole += dayNumber < 0 ? -1 : 1;
  }
  ISC_TIMESTAMP result;
  result.timestamp_date = static_cast<ISC_DATE>(whole) + kDayNumberOffset;
  result.timestamp_time = static_cast<ISC_TIME>(ticks);
  return result;
}

double FromTimestamp(ISC_DATE date, ISC_TIME time) {
  double whole = static_cast<double>(date - kDayNumberOffset);
  double fraction = time / kTicksPerDay;
  return whole < 0 ? whole - fraction : whole + fraction;
}

}  // namespace zrv::db::fb
