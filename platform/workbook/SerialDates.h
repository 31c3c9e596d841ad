#pragma once
// Dates and times of spreadsheet cells as the import shows them: dd.mm.yyyy,
// dd.mm.yyyy hh:mm:ss and hh:mm:ss. A cell stores a date as a serial number of
// days; in the 1900 system serial 1 is 1.1.1900 and serial 60 the 29.02.1900
// that never was, kept for compatibility; in the 1904 system serial 0
// is 1.1.1904.

#include <string>

namespace zrv::workbook {

enum class DateShape {
  Date,         // dd.mm.yyyy
  DateTime,     // dd.mm.yyyy hh:mm:ss
  Time,         // hh:mm:ss, the time of day
  ElapsedTime,  // hh:mm:ss with the hours counted past 24
};

// The text of a date serial, rounded to the second; "" for a serial before the
// first day of the system or after 31.12.9999, or not a number.
std::string FormatSerial(double serial, bool date1904, DateShape shape);

// Reads "yyyy-mm-dd", "yyyy-mm-dd hh:mm:ss" or "yyyy-mm-ddThh:mm:ss" (seconds
// may carry a fraction) or "hh:mm:ss" into a 1900-system serial. False when the
// text is not one of these or not a valid date.
bool ParseIsoSerial(const std::string& text, double& serial);

}  // namespace zrv::workbook
