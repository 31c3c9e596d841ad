#include "platform/workbook/SheetData.h"

#include <algorithm>

#include "platform/workbook/CellAddress.h"

namespace zrv::workbook {

namespace {
bool Before(int rowA, int columnA, int rowB, int columnB) {
  return rowA < rowB || (rowA == rowB && columnA < columnB);
}
}  // namespace

void SheetData::Set(int row, int column, std::string text) {
  if (text.empty() || row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) return;
  if (!cells_.empty() && !Before(cells_.back().row, cells_.back().column, row, column)) {
    sorted_ = false;
  }
  cells_.push_back({row, column, std::move(text)});
  usedRows_ = std::max(usedRows_, row);
  usedColumns_ = std::max(usedColumns_, column);
}

void SheetData::Finish() {
  if (sorted_) return;
  // Stable, so of two texts for one cell the later stays last; keep that one.
  std::stable_sort(cells_.begin(), cells_.end(), [](const Entry& a, const Entry& b) {
    return Before(a.row, a.column, b.row, b.column);
  });
  auto last = std::unique(cells_.rbegin(), cells_.rend(), [](const Entry& a, const Entry& b) {
    return a.row == b.row && a.column == b.column;
  });
  cells_.erase(cells_.begin(), last.base());
  sorted_ = true;
}

std::string SheetData::CellText(const std::string& cellName) const {
  int row = 0;
  int column = 0;
  if (!ParseCellName(cellName, row, column)) return "";
  return CellText(row, column);
}

std::string SheetData::CellText(int row, int column) const {
  auto it = std::lower_bound(cells_.begin(), cells_.end(), std::make_pair(row, column),
                             [](const Entry& e, const std::pair<int, int>& key) {
                               return Before(e.row, e.column, key.first, key.second);
                             });
  if (it == cells_.end() || it->row != row || it->column != column) return "";
  return it->text;
}

}  // namespace zrv::workbook
