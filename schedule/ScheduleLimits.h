#pragma once
// The dates a rent schedule is built for. Dates before 1900 are empty or
// mistyped dates, and a term is at most 100 years, which keeps every month step
// of a schedule inside the calendar.

#include "common/Dates.h"

namespace zrv::schedule {

inline constexpr int kFirstScheduleYear = 1900;
inline constexpr int kLastScheduleYear = 9899;
// The longest term a schedule is built for: 100 years.
inline constexpr int kMaxTermMonths = 1200;

inline bool InScheduleRange(TDate date) {
  int year, month, day;
  DecodeDate(date, year, month, day);
  return date >= EncodeDate(kFirstScheduleYear, 1, 1) && year <= kLastScheduleYear;
}

// True when a schedule can be built from `first` to `last`: both dates in the
// years above and the term at most kMaxTermMonths months.
inline bool TermInScheduleLimits(TDate first, TDate last) {
  return InScheduleRange(first) && InScheduleRange(last) && last <= IncMonth(first, kMaxTermMonths);
}

}  // namespace zrv::schedule
