#include "platform/workbook/SerialDates.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "common/Dates.h"

namespace zrv::workbook {

namespace {

constexpr double kSecondsPerDay = 86400.0;
// Serials of the last day a cell can show: 31.12.9999 in both systems.
constexpr double kLastSerial1900 = 2958465;
constexpr double kLastSerial1904 = kLastSerial1900 - 1462;
// The 1904 system counts from 1.1.1904, 1462 days after the day
// numbers' 30.12.1899.
constexpr int kDays1904 = 1462;

std::string Clock(long long seconds) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return buf;
}

// dd.mm.yyyy of a whole 1900-system serial, with the two days the system holds
// that the calendar does not: serial 0 ("00.01.1900") and serial 60
// ("29.02.1900").
std::string DayText(long long serial, bool date1904) {
  if (date1904) return FormatDMY(static_cast<TDate>(serial + kDays1904));
  if (serial == 0) return "00.01.1900";
  if (serial == 60) return "29.02.1900";
  // Serials before the false leap day are one behind the day numbers, which
  // count 1900 right.
  return FormatDMY(static_cast<TDate>(serial < 60 ? serial + 1 : serial));
}

bool ReadInt(const char*& p, const char* end, size_t digits, int& value) {
  if (static_cast<size_t>(end - p) < digits) return false;
  auto [next, ec] = std::from_chars(p, p + digits, value);
  if (ec != std::errc() || next != p + digits) return false;
  p = next;
  return true;
}

bool Expect(const char*& p, const char* end, char c) {
  if (p == end || *p != c) return false;
  ++p;
  return true;
}

bool ReadClock(const char*& p, const char* end, double& dayFraction) {
  int h = 0, m = 0, s = 0;
  if (!ReadInt(p, end, 2, h) || !Expect(p, end, ':') || !ReadInt(p, end, 2, m) ||
      !Expect(p, end, ':') || !ReadInt(p, end, 2, s)) {
    return false;
  }
  double fraction = 0;
  if (p != end && *p == '.') {
    const char* start = p;
    ++p;
    while (p != end && *p >= '0' && *p <= '9') ++p;
    if (p - start > 1) std::from_chars(start, p, fraction);  // ".5" reads as 0.5
  }
  if (h > 23 || m > 59 || s > 59) return false;
  dayFraction = ((h * 60 + m) * 60 + s + fraction) / kSecondsPerDay;
  return true;
}

}  // namespace

std::string FormatSerial(double serial, bool date1904, DateShape shape) {
  if (!std::isfinite(serial) || serial < 0) return "";
  if (serial > (date1904 ? kLastSerial1904 : kLastSerial1900) + 1) return "";
  const long long total = std::llround(serial * kSecondsPerDay);
  const long long day = total / static_cast<long long>(kSecondsPerDay);
  const long long second = total % static_cast<long long>(kSecondsPerDay);
  if (shape == DateShape::ElapsedTime) return Clock(total);
  if (shape == DateShape::Time) return Clock(second);
  if (day > (date1904 ? kLastSerial1904 : kLastSerial1900)) return "";
  std::string text = DayText(day, date1904);
  if (shape == DateShape::DateTime) text += " " + Clock(second);
  return text;
}

bool ParseIsoSerial(const std::string& text, double& serial) {
  const char* p = text.data();
  const char* end = p + text.size();
  double dayFraction = 0;
  if (text.size() >= 3 && text[2] == ':') {
    if (!ReadClock(p, end, dayFraction) || p != end) return false;
    serial = dayFraction;
    return true;
  }
  int y = 0, m = 0, d = 0;
  if (!ReadInt(p, end, 4, y) || !Expect(p, end, '-') || !ReadInt(p, end, 2, m) ||
      !Expect(p, end, '-') || !ReadInt(p, end, 2, d)) {
    return false;
  }
  TDate day = 0;
  if (!TryEncodeDate(y, m, d, day)) return false;
  if (p != end) {
    if (*p != ' ' && *p != 'T') return false;
    ++p;
    if (!ReadClock(p, end, dayFraction) || p != end) return false;
  }
  // Day numbers and 1900 serials agree from 1.3.1900 on; before it the serials
  // run one ahead.
  serial = (day < 61 ? day - 1 : day) + dayFraction;
  return true;
}

}  // namespace zrv::workbook
