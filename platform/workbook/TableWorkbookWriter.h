#pragma once
// Writing a table as a workbook (.xlsx) for people to read, sort and sum in a
// spreadsheet application: a header row that stays in view, text columns,
// whole numbers and money as numbers with their number formats, a totals row
// that sums each numeric column, the columns as wide as their contents, and
// notes below the table.

#include <string>
#include <vector>

namespace zrv::workbook {

enum class ColumnKind {
  Text,
  Count,  // a whole number
  Money,  // two decimals, thousands grouped
};

struct TableColumn {
  std::string label;
  ColumnKind kind = ColumnKind::Text;
  bool summed = true;  // a numeric column the totals row sums
};

// One cell: `text` in a text column, `number` in the others.
struct TableCell {
  std::string text;
  double number = 0;
};

struct Table {
  std::string sheetName;  // at most 31 characters, none of []:*?/\ .
  std::vector<TableColumn> columns;
  std::vector<std::vector<TableCell>> rows;  // a cell per column
  // The label of the totals row, in its first column; the summed columns hold
  // the sums of their rows.
  std::string totalsLabel;
  std::vector<std::string> notes;  // lines below the table
};

// Writes `table` as the only worksheet of a new .xlsx file at `path`,
// replacing a file of that name. Throws WorkbookError naming the file when it
// cannot be written (the partial file is removed).
void WriteTableWorkbook(const std::string& path, const Table& table);

}  // namespace zrv::workbook
