#pragma once
// Number format codes of spreadsheet cells ("0.00", "#,##0", "0000000000",
// "0%", "dd.mm.yyyy", "0.00\" лв.\";-0.00", "@") and the text a cell shows
// under them, the way a spreadsheet application set to Bulgarian conventions
// shows it, with "." as the decimal point and a plain blank between groups of
// thousands:
//  - any date format shows dd.mm.yyyy, a date with a time of day dd.mm.yyyy
//  hh:mm:ss, a time of
//    day alone hh:mm:ss (the day-first order of the Bulgarian short date,
//    whatever order the code itself writes);
//  - number sections show digits, decimals, grouping, zero padding, percent,
//  scientific
//    notation, scaling by thousands and literal text as the code asks;
//  - fractions ("# ?/?") are shown as General numbers.
// Sections (positive;negative;zero;text) and conditions ("[>=100]") choose the
// section as a spreadsheet application does; colours are ignored; a currency
// tag "[$лв.-402]" shows its symbol.

#include <string>
#include <string_view>
#include <vector>

namespace zrv::workbook {

// The code of a built-in number format id (14 is the short date, 49 is "@");
// "General" for ids that are not built in.
std::string BuiltinFormatCode(int id);

// A number in the General format: up to 15 significant digits, no exponent from
// 1E-05 up to below 1E+15 ("1234.5", "0.1", "7501010010"), else "1.5E+20"; ""
// for a value that is not finite.
std::string FormatGeneral(double value);

// A number as a file stores it ("1234.5", "-1E-3", "inf"), blanks around it and
// a leading '+' allowed; false for anything else.
bool ParseNumber(std::string_view text, double& value);

// One piece of a format section.
struct FormatToken {
  enum class Kind { Literal, Digit, Point, Percent, Exponent, Text, General };
  Kind kind = Kind::Literal;
  std::string literal;  // Literal: the text shown
  char symbol = 0;      // Digit: '0', '#' or '?'; Exponent: '+' or '-'
};

// One of up to four sections of a code, separated by ';'.
struct FormatSection {
  std::vector<FormatToken> tokens;
  bool hasCondition = false;
  std::string conditionOp;  // "<", "<=", ">", ">=", "=", "<>"
  double conditionValue = 0;
  bool isDate = false;        // holds day, month, year, hour, minute or second parts
  bool datePart = false;      // day, month or year
  bool timePart = false;      // hour, minute, second or AM/PM
  bool elapsedHours = false;  // "[h]": hours counted past 24
  bool grouping = false;      // thousands separated by blanks
  int thousandsScale = 0;     // each trailing ',' divides by 1000
  int percent = 0;            // each '%' multiplies by 100
  bool fraction = false;      // "# ?/?": shown as General
  bool hasText = false;       // holds '@'
  bool hasDigits = false;     // holds digit placeholders or General
  bool Matches(double value) const;
};

// A boolean as a spreadsheet application in Bulgarian shows it: "ИСТИНА" or
// "НЕИСТИНА".
std::string BooleanText(bool value);

class NumberFormat {
 public:
  // Reads a format code; never fails: what it cannot read becomes literal text.
  explicit NumberFormat(std::string_view code);

  // The displayed text of a number; `date1904` tells which day a date serial 0
  // is.
  std::string FormatNumber(double value, bool date1904) const;
  // The displayed text of a text cell: the text section of the code applied,
  // else the text.
  std::string FormatText(std::string_view text) const;
  // True when the code shows numbers as dates or times (its first section
  // does).
  bool IsDate() const;

 private:
  const FormatSection* ChooseSection(double value, bool& showMinus) const;

  std::vector<FormatSection> sections_;
  int textSection_ = -1;  // index into sections_, -1 when the code has no text section
};

}  // namespace zrv::workbook
