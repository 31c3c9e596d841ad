#include "common/Dates.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace zrv {

namespace {

constexpr double kMsPerDay = 86400000.0;

// Days since 1.1.0001 of a proleptic Gregorian date, the 1st of January of year
// 1 being day 0.
int64_t DaysFromCivil(int year, int month, int day) {
  static const int kDaysBefore[2][13] = {
      {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
      {0, 0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335}};
  const int64_t y = year - 1;
  return y * 365 + y / 4 - y / 100 + y / 400 + kDaysBefore[IsLeapYear(year) ? 1 : 0][month] + day -
         1;
}

// Day 0 of the day numbers, 30.12.1899, counted from 1.1.0001.
const int64_t kEpoch = DaysFromCivil(1899, 12, 30);

// Day numbers of 1.1.0001 and 31.12.9999, the range every calendar operation
// works in.
constexpr double kFirstDay = -693593.0;
constexpr double kLastDay = 2958465.0;

// The whole-day part of a day number: the fraction is the time of day also for
// dates before day 0, so the day is the value with its fraction dropped. Values
// outside the calendar (and NaN) are held to its ends, so no conversion
// overflows.
int64_t WholeDay(TDate date) {
  if (!(date >= kFirstDay)) return static_cast<int64_t>(kFirstDay);
  if (date > kLastDay) return static_cast<int64_t>(kLastDay);
  return static_cast<int64_t>(std::trunc(date));
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month];
}

bool TryEncodeDate(int year, int month, int day, TDate& out) {
  if (year < 1 || year > 9999 || month < 1 || month > 12) return false;
  if (day < 1 || day > DaysInMonth(year, month)) return false;
  out = static_cast<TDate>(DaysFromCivil(year, month, day) - kEpoch);
  return true;
}

TDate EncodeDate(int year, int month, int day) {
  TDate out = 0;
  TryEncodeDate(year, month, day, out);
  return out;
}

void DecodeDate(TDate date, int& year, int& month, int& day) {
  // Walks 400-, 100-, 4- and 1-year cycles from 1.1.0001.
  int64_t n = WholeDay(date) + kEpoch;
  const int64_t q400 = n / 146097;
  n %= 146097;
  int64_t q100 = n / 36524;
  if (q100 == 4) q100 = 3;
  n -= q100 * 36524;
  const int64_t q4 = n / 1461;
  n %= 1461;
  int64_t q1 = n / 365;
  if (q1 == 4) q1 = 3;
  n -= q1 * 365;
  year = static_cast<int>(q400 * 400 + q100 * 100 + q4 * 4 + q1 + 1);
  month = 1;
  while (n >= DaysInMonth(year, month)) {
    n -= DaysInMonth(year, month);
    ++month;
  }
  day = static_cast<int>(n) + 1;
}

TDate IncMonth(TDate date, int months) {
  int year, month, day;
  DecodeDate(date, year, month, day);
  const int total = year * 12 + (month - 1) + months;
  year = total / 12;
  month = total % 12 + 1;
  if (day > DaysInMonth(year, month)) day = DaysInMonth(year, month);
  TDate result = 0;
  if (!TryEncodeDate(year, month, day, result)) return date;
  return result + (date - std::trunc(date));
}

TDate Now() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm local{};
  localtime_r(&ts.tv_sec, &local);
  const TDate day = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  const double ms = ((local.tm_hour * 60.0 + local.tm_min) * 60.0 + local.tm_sec) * 1000.0 +
                    static_cast<double>(ts.tv_nsec / 1000000);
  return day + ms / kMsPerDay;
}

TDate Today() { return std::trunc(Now()); }

std::string FormatDMY(TDate date) {
  int year, month, day;
  DecodeDate(date, year, month, day);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", day, month, year);
  return buf;
}

std::string FormatDMYHMS(TDate date) {
  // Milliseconds of the day, rounded; a value that rounds up to midnight
  // belongs to the next day.
  int64_t whole = WholeDay(date);
  double fraction = std::fabs(date - static_cast<double>(whole));
  if (!(fraction < 1.0)) fraction = 0.0;  // a value outside the calendar
  int64_t ms = std::llround(fraction * kMsPerDay);
  if (ms >= static_cast<int64_t>(kMsPerDay)) {
    ms = 0;
    whole += date < 0 ? -1 : 1;
  }
  const int64_t secs = ms / 1000;
  char buf[16];
  std::snprintf(buf, sizeof buf, " %02d:%02d:%02d", static_cast<int>(secs / 3600),
                static_cast<int>(secs / 60 % 60), static_cast<int>(secs % 60));
  return FormatDMY(static_cast<TDate>(whole)) + buf;
}

bool DateBetween(TDate value, TDate low, TDate high) {
  if (value < low) return false;
  return value <= high;
}

void DecodePayDay(int16_t code, int16_t& day, int16_t& monthShift) {
  if (code == 0) {
    day = 30;
    monthShift = 1;
  } else if (code <= 100) {
    day = code;
    monthShift = 1;
  } else if (code <= 200) {
    day = static_cast<int16_t>(code - 100);
    monthShift = 2;
  } else if (code <= 300) {
    day = static_cast<int16_t>(code - 200);
    monthShift = 0;
  } else {
    day = static_cast<int16_t>(code - 300);
    monthShift = 3;
  }
}

}  // namespace zrv
