#include "platform/workbook/CellAddress.h"

namespace zrv::workbook {

int ColumnNumber(std::string_view letters) {
  if (letters.empty() || letters.size() > 3) return 0;
  int column = 0;
  for (char c : letters) {
    if (c < 'A' || c > 'Z') return 0;
    column = column * 26 + (c - 'A' + 1);
  }
  return column <= kMaxColumns ? column : 0;
}

std::string ColumnLetters(int column) {
  if (column < 1 || column > kMaxColumns) return "";
  std::string letters;
  while (column > 0) {
    --column;
    letters.insert(letters.begin(), static_cast<char>('A' + column % 26));
    column /= 26;
  }
  return letters;
}

bool ParseCellName(std::string_view name, int& row, int& column) {
  size_t split = 0;
  while (split < name.size() && name[split] >= 'A' && name[split] <= 'Z') ++split;
  const int col = ColumnNumber(name.substr(0, split));
  const std::string_view digits = name.substr(split);
  if (col == 0 || digits.empty() || digits.size() > 7 || digits[0] == '0') return false;
  int r = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    r = r * 10 + (c - '0');
  }
  if (r > kMaxRows) return false;
  row = r;
  column = col;
  return true;
}

}  // namespace zrv::workbook
