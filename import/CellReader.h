#pragma once
// Cell reading of the import: the displayed text of a cell of the first
// worksheet, named by its column letters and row number, trimmed of leading and
// trailing blanks and control characters. A cell that cannot be read is empty;
// no error of the reading reaches the caller.

#include <string>

#include "platform/workbook/Workbook.h"

namespace zrv::import {

class CellReader {
 public:
  // Reads from `sheet`, which must outlive the reader; a null sheet reads every
  // cell as empty.
  explicit CellReader(const workbook::Worksheet* sheet) : sheet_(sheet) {}

  // The trimmed displayed text of cell `column` + `row` ("AE", 17 reads AE17);
  // "" when the cell is empty, holds an error value, or cannot be read.
  std::string ReadCell(const std::string& column, int row) const;
  // The used range's row count N of the sheet; 0 without a sheet.
  int UsedRowCount() const;

 private:
  const workbook::Worksheet* sheet_;
};

}  // namespace zrv::import
