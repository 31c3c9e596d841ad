#pragma once
// Day numbers (day 0 = 30.12.1899, the fraction being the time of day) to and
// from the engine's date and time values (days since 17.11.1858 and
// ten-thousandths of a second since midnight).

#include <ibase.h>

namespace zrv::db::fb {

// 30.12.1899 counted in the engine's days.
inline constexpr int kDayNumberOffset = 15018;

ISC_TIMESTAMP ToTimestamp(double dayNumber);
double FromTimestamp(ISC_DATE date, ISC_TIME time);

}  // namespace zrv::db::fb
