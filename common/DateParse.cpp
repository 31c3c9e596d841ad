// Reading dates typed by people: "dd.mm.yyyy", "d.m.yy", "dd.mm", the
// month-first "M/d/yyyy" and the ISO "yyyy-mm-dd" (what a spreadsheet keeps
// for a date typed that way).

#include <cstddef>
#include <ctime>

#include "common/Dates.h"

namespace zrv {

namespace {

// A cursor over the text of a date, in the manner of the classic date scanner:
// blanks may precede each number, a number stops growing once it reaches 1000.
class DateScanner {
 public:
  explicit DateScanner(const std::string& text) : text_(text) {}

  bool Number(int& value, int& digits) {
    SkipBlanks();
    value = 0;
    digits = 0;
    while (pos_ < text_.size() && IsDigit(text_[pos_]) && value < 1000) {
      value = value * 10 + (text_[pos_] - '0');
      ++digits;
      ++pos_;
    }
    return digits > 0;
  }

  bool Char(char c) {
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }

  bool AtEnd() const { return pos_ >= text_.size(); }

 private:
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

  const std::string& text_;
  size_t pos_ = 0;
};

int CurrentYear() {
  const time_t now = time(nullptr);
  tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

// A year written with one or two digits lands in the 50-year window ending 49
// years after now.
int WindowYear(int year, int currentYear) {
  const int base = currentYear - 50;
  year += base / 100 * 100;
  if (year < base) year += 100;
  return year;
}

// A time of day after the date: "h:mm", "h:mm:ss" or "h:mm:ss.fff", hours
// 0-23, minutes and seconds 0-59. What follows the date without a colon is no
// time at all and is not judged here.
bool LooksLikeTime(const std::string& rest) {
  return rest.find(':') != std::string::npos && !rest.empty() && rest[0] >= '0' && rest[0] <= '9';
}

bool IsValidTime(const std::string& rest) {
  DateScanner scan(rest);
  int hours, minutes, seconds = 0, digits;
  if (!scan.Number(hours, digits) || digits > 2 || hours > 23) return false;
  if (!scan.Char(':') || !scan.Number(minutes, digits) || digits != 2 || minutes > 59) return false;
  if (scan.Char(':')) {
    if (!scan.Number(seconds, digits) || digits != 2 || seconds > 59) return false;
    if (scan.Char('.') && !scan.Number(seconds, digits)) return false;
  }
  scan.SkipBlanks();
  return scan.AtEnd();
}

// "yyyy-mm-dd": four digits of the year, then month and day.
bool TryParseIsoDate(const std::string& s, TDate& out) {
  DateScanner scan(s);
  int year, month, day, digits;
  if (!scan.Number(year, digits) || digits != 4 || !scan.Char('-') || !scan.Number(month, digits) ||
      digits > 2 || !scan.Char('-') || !scan.Number(day, digits) || digits > 2)
    return false;
  scan.SkipBlanks();
  if (!scan.AtEnd()) return false;
  TDate date = 0;
  if (!TryEncodeDate(year, month, day, date)) return false;
  out = date;
  return true;
}

}  // namespace

bool TryParseDate(const std::string& text, TDate& out, int currentYear) {
  // A time part after the first blank is dropped (the blank itself stays),
  // but only a valid one: "15.01.2007 25:00" is no date.
  std::string s = text;
  const size_t blank = s.find(' ');
  // Something after the blank may be a year typed apart ("05.03. 2007").
  const size_t after = blank == std::string::npos ? blank : s.find_first_not_of(' ', blank);
  const bool textAfterBlank = after != std::string::npos;
  if (textAfterBlank) {
    const std::string rest = s.substr(after);
    if (LooksLikeTime(rest) && !IsValidTime(rest)) return false;
  }
  if (blank != std::string::npos) s.resize(blank + 1);
  if (s.find('-') != std::string::npos) return TryParseIsoDate(s, out);

  const bool monthFirst = s.find('/') != std::string::npos;
  if (monthFirst) {
    for (char& c : s) {
      if (c == '/') c = '.';
    }
  }

  DateScanner scan(s);
  int first, second, year, digits;
  if (!scan.Number(first, digits) || !scan.Char('.') || !scan.Number(second, digits)) return false;
  if (scan.Char('.') && scan.Number(year, digits)) {
    if (digits <= 2) year = WindowYear(year, currentYear);
    scan.Char('.');
  } else {
    // "dd.mm" and "dd.mm." mean the current year, but only when nothing
    // follows: a year that cannot be read is not replaced by this one.
    if (textAfterBlank) return false;
    year = currentYear;
  }
  scan.SkipBlanks();
  if (!scan.AtEnd()) return false;

  const int day = monthFirst ? second : first;
  const int month = monthFirst ? first : second;
  TDate date = 0;
  if (!TryEncodeDate(year, month, day, date)) return false;
  out = date;
  return true;
}

bool TryParseDate(const std::string& text, TDate& out) {
  return TryParseDate(text, out, CurrentYear());
}

}  // namespace zrv
