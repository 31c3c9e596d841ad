#include "import/CellReader.h"

#include "common/Text.h"

namespace zrv::import {

std::string CellReader::ReadCell(const std::string& column, int row) const {
  if (sheet_ == nullptr) return "";
  try {
    return Trim(sheet_->CellText(column + std::to_string(row)));
  } catch (...) {
    // A cell that cannot be read counts as empty; whether that is an error
    // depends on the column.
    return "";
  }
}

int CellReader::UsedRowCount() const {
  return sheet_ ? sheet_->UsedRowCount() : 0;
}

}  // namespace zrv::import
