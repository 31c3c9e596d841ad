#pragma once
// Cell reading of the import: the displayed text of a cell of the first
// worksheet, named by its column letters and row number, trimmed of leading and
// trailing blanks and control characters. A cell the reader cannot read
// (workbook::WorkbookError) is empty; a sheet that has lost its file part way
// (SheetRereadError) stops the reading, since every cell after it would read
// empty, and any other error travels on.

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
  // The same by position (row and column from 1; column 1 is A).
  std::string ReadCell(int row, int column) const;
  // The used range's row count N of the sheet; 0 without a sheet.
  int UsedRowCount() const;

 private:
  const workbook::Worksheet* sheet_;
};

}  // namespace zrv::import
