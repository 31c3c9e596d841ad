#include "platform/db/firebird/FbValue.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "common/Text.h"
#include "platform/db/Database.h"

namespace zrv::db::fb {

namespace {

double ScaledValue(const Value& value) {
  return static_cast<double>(value.integer) * std::pow(10.0, value.scale);
}

std::string FormatFloat(double d) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", d);
  return buffer;
}

// Day 0 (30.12.1899) is 25569 days before 01.01.1970; the civil arithmetic
// below counts from 01.03.0000 in 400-year eras.
constexpr long kUnixEpochDayNumber = 25569;

void CivilFromDayNumber(long dayNumber, int& year, int& month, int& day) {
  long z = dayNumber - kUnixEpochDayNumber + 719468;
  long era = (z >= 0 ? z : z - 146096) / 146097;
  long doe = z - era * 146097;
  long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

long DayNumberFromCivil(int year, int month, int day) {
  long y = month <= 2 ? year - 1 : year;
  long era = (y >= 0 ? y : y - 399) / 400;
  long yoe = y - era * 400;
  long mp = month > 2 ? month - 3 : month + 9;
  long doy = (153 * mp + 2) / 5 + day - 1;
  long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + kUnixEpochDayNumber;
}

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

std::string FormatDateTime(double dayNumber) {
  double whole = std::trunc(dayNumber);
  long seconds = std::lround(std::fabs(dayNumber - whole) * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    whole += dayNumber < 0 ? -1 : 1;
  }
  int year = 0, month = 0, day = 0;
  CivilFromDayNumber(static_cast<long>(whole), year, month, day);
  char buffer[48];
  if (seconds == 0) {
    std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d", day, month, year);
  } else {
    std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d %02ld:%02ld:%02ld", day, month, year,
                  seconds / 3600, seconds / 60 % 60, seconds % 60);
  }
  return buffer;
}

// The whole text as a number of type T (an optional sign, "." as decimal
// point).
template <typename T>
bool ParseNumber(const std::string& text, T& out) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (begin != end && *begin == '+') ++begin;
  auto [ptr, ec] = std::from_chars(begin, end, out);
  return ec == std::errc() && ptr == end;
}

// "dd.mm.yyyy" optionally followed by " hh:mm" or " hh:mm:ss".
bool ParseDateTime(const std::string& text, double& out) {
  int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
  char tail = 0;
  int n = std::sscanf(text.c_str(), "%2d.%2d.%4d %2d:%2d:%2d%c", &day, &month, &year, &hour,
                      &minute, &second, &tail);
  if (n < 3 || n == 4 || n == 7) return false;
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
  if (hour > 23 || minute > 59 || second > 59 || hour < 0 || minute < 0 || second < 0) return false;
  double fraction = (hour * 3600 + minute * 60 + second) / 86400.0;
  double whole = static_cast<double>(DayNumberFromCivil(year, month, day));
  out = whole < 0 ? whole - fraction : whole + fraction;
  return true;
}

[[noreturn]] void ThrowNotA(const std::string& text, const char* what) {
  throw DbError("'" + text + "' is not a valid " + what + " value");
}

}  // namespace

std::string ValueAsString(const Value& value) {
  switch (value.kind) {
    case Value::Kind::Null:
      return "";
    case Value::Kind::Integer:
      return value.scale == 0 ? std::to_string(value.integer) : FormatFloat(ScaledValue(value));
    case Value::Kind::Float:
      return FormatFloat(value.real);
    case Value::Kind::Text:
      return value.text;
    case Value::Kind::DateTime:
      return FormatDateTime(value.real);
    case Value::Kind::Boolean:
      return value.integer ? "True" : "False";
  }
  return "";
}

int32_t ValueAsInteger(const Value& value) {
  double d = 0;
  switch (value.kind) {
    case Value::Kind::Null:
      return 0;
    case Value::Kind::Boolean:
      return value.integer ? 1 : 0;
    case Value::Kind::Integer:
      if (value.scale == 0) {
        if (value.integer < std::numeric_limits<int32_t>::min() ||
            value.integer > std::numeric_limits<int32_t>::max()) {
          throw DbError(std::to_string(value.integer) + " is out of the integer range");
        }
        return static_cast<int32_t>(value.integer);
      }
      d = std::nearbyint(ScaledValue(value));
      break;
    case Value::Kind::Float:
      d = std::nearbyint(value.real);
      break;
    case Value::Kind::DateTime:
      d = std::trunc(value.real);
      break;
    case Value::Kind::Text: {
      std::string text = Trim(value.text);
      if (text.empty()) return 0;
      int64_t parsed = 0;
      if (!ParseNumber(text, parsed) || parsed < std::numeric_limits<int32_t>::min() ||
          parsed > std::numeric_limits<int32_t>::max()) {
        ThrowNotA(value.text, "integer");
      }
      return static_cast<int32_t>(parsed);
    }
  }
  if (!(d >= std::numeric_limits<int32_t>::min() && d <= std::numeric_limits<int32_t>::max())) {
    throw DbError(FormatFloat(d) + " is out of the integer range");
  }
  return static_cast<int32_t>(d);
}

double ValueAsFloat(const Value& value) {
  switch (value.kind) {
    case Value::Kind::Null:
      return 0;
    case Value::Kind::Boolean:
      return value.integer ? 1 : 0;
    case Value::Kind::Integer:
      return ScaledValue(value);
    case Value::Kind::Float:
    case Value::Kind::DateTime:
      return value.real;
    case Value::Kind::Text: {
      std::string text = Trim(value.text);
      if (text.empty()) return 0;
      double parsed = 0;
      if (!ParseNumber(text, parsed)) ThrowNotA(value.text, "floating point");
      return parsed;
    }
  }
  return 0;
}

double ValueAsDateTime(const Value& value) {
  if (value.kind != Value::Kind::Text) return ValueAsFloat(value);
  std::string text = Trim(value.text);
  if (text.empty()) return 0;
  double parsed = 0;
  if (!ParseDateTime(text, parsed)) ThrowNotA(value.text, "date and time");
  return parsed;
}

}  // namespace zrv::db::fb
