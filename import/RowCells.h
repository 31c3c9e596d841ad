#pragma once
// One worksheet row cell by cell, with what each column means to the import,
// so that a clerk can see what a line of the error list is about without
// opening the workbook.

#include <string>
#include <vector>

namespace zrv::import {

struct RowCell {
  std::string column;  // "AE"
  std::string meaning;  // "начална дата (на ред на анекс: влизане в сила)"
  std::string text;  // the cell's text as the import reads it
};

// Columns A to AJ of `row` in the first worksheet of the workbook at `path`,
// read as the import reads them (displayed text, trimmed). Throws
// workbook::WorkbookError naming the file when it cannot be read.
std::vector<RowCell> ReadRowCells(const std::string& path, int row);

}  // namespace zrv::import
