#pragma once
// Dates as day numbers: day 0 is 30.12.1899, the fraction is the time of day, 0
// is the empty date.

#include <cstdint>
#include <string>

namespace zrv {

using TDate = double;

// Day number of a calendar date; the date must be valid (year 1..9999).
TDate EncodeDate(int year, int month, int day);
// Tries to build a date; false when year, month or day do not form a valid
// date.
bool TryEncodeDate(int year, int month, int day, TDate& out);
// Calendar parts of the whole-day part of a day number.
void DecodeDate(TDate date, int& year, int& month, int& day);
int DaysInMonth(int year, int month);
bool IsLeapYear(int year);
// The date shifted by whole calendar months; the day is cut to the target
// month's length.
TDate IncMonth(TDate date, int months);
// The current local date and time, and the current local date.
TDate Now();
TDate Today();

// "dd.mm.yyyy" of the date; the time of day is ignored. 0 gives "30.12.1899".
std::string FormatDMY(TDate date);
// "dd.mm.yyyy hh:mm:ss".
std::string FormatDMYHMS(TDate date);

// Reads "dd.mm.yyyy" (or "M/d/yyyy" when the text holds slashes), two-digit
// years in the 50-year window of the current year, a time part after the first
// blank ignored. "dd.mm" and "dd.mm." mean the current year only when nothing
// follows them: after a blank there may be a year typed apart. On success
// gives true and the whole day; on failure false with `out` untouched.
bool TryParseDate(const std::string& text, TDate& out);
// The same with the current year given, for reproducible results.
bool TryParseDate(const std::string& text, TDate& out, int currentYear);

// low <= value <= high.
bool DateBetween(TDate value, TDate low, TDate high);

// Splits a contract's payment-day code into its day of the month and month
// shift.
void DecodePayDay(int16_t code, int16_t& day, int16_t& monthShift);

// Whole months and remaining days between two dates, counted with
// the 30.416-day average month.
void MonthsAndDays(TDate start, TDate end, int& months, int& days);

}  // namespace zrv
