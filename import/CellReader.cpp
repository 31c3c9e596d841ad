#include "import/CellReader.h"

#include "common/Text.h"

namespace zrv::import {

namespace {

// The trimmed text `read` gives for one cell of `sheet`.
template <typename Read>
std::string TrimmedCell(const workbook::Worksheet* sheet, const Read& read) {
  if (sheet == nullptr) return "";
  try {
    return Trim(read(*sheet));
  } catch (const workbook::SheetRereadError&) {
    throw;  // the sheet lost its file: no later cell can be trusted either
  } catch (const workbook::WorkbookError&) {
    // A cell that cannot be read counts as empty; whether that is an error
    // depends on the column. Anything else (memory exhausted, a fault of the
    // program) is no property of the cell and travels on.
    return "";
  }
}

}  // namespace

std::string CellReader::ReadCell(const std::string& column, int row) const {
  return TrimmedCell(sheet_, [&](const workbook::Worksheet& sheet) {
    return sheet.CellText(column + std::to_string(row));
  });
}

std::string CellReader::ReadCell(int row, int column) const {
  return TrimmedCell(sheet_,
                     [&](const workbook::Worksheet& sheet) { return sheet.CellText(row, column); });
}

int CellReader::UsedRowCount() const { return sheet_ ? sheet_->UsedRowCount() : 0; }

}  // namespace zrv::import
