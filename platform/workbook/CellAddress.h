#pragma once
// Cell names ("A2", "AE17", "XFD1048576") and column letters, both directions.

#include <string>
#include <string_view>

namespace zrv::workbook {

// The largest row and column a worksheet can hold (.xlsx; .xls holds fewer).
inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;

// Column number (1 = A) of upper-case letters "A".."XFD"; 0 when they are not a
// column.
int ColumnNumber(std::string_view letters);
// Letters of a column number 1..kMaxColumns ("A", "Z", "AA", "AJ"); "" outside
// that range.
std::string ColumnLetters(int column);
// Splits "AE17" into row 17 and column 31. False when the name is not
// upper-case letters followed by a row number without sign or leading zero, or
// lies outside the sheet.
bool ParseCellName(std::string_view name, int& row, int& column);

}  // namespace zrv::workbook
