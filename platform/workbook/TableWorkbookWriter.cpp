#include "platform/workbook/TableWorkbookWriter.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "common/Text.h"
#include "platform/workbook/CellAddress.h"
#include "platform/workbook/Workbook.h"
#include "platform/workbook/XlsxFile.h"

namespace zrv::workbook {

namespace {

constexpr const char* kTooManyRows = "редовете са повече, отколкото листът побира";
constexpr const char* kMoneyFormat = "#,##0.00";
constexpr const char* kCountFormat = "0";
constexpr const char* kSumFormula = "=SUM(%s%d:%s%d)";
// Column widths in characters: a little room beside the longest content, and
// no column so wide that a long name hides the figures.
constexpr size_t kLeastWidth = 6;
constexpr size_t kMostWidth = 50;
constexpr size_t kWidthRoom = 2;

struct Formats {
  lxw_format* header = nullptr;
  lxw_format* money = nullptr;
  lxw_format* count = nullptr;
  lxw_format* totalText = nullptr;
  lxw_format* totalMoney = nullptr;
  lxw_format* totalCount = nullptr;
  bool Made() const { return header && money && count && totalText && totalMoney && totalCount; }
};

Formats MakeFormats(lxw_workbook* book) {
  Formats f{workbook_add_format(book), workbook_add_format(book), workbook_add_format(book),
            workbook_add_format(book), workbook_add_format(book), workbook_add_format(book)};
  if (!f.Made()) return f;
  format_set_bold(f.header);
  format_set_text_wrap(f.header);
  format_set_align(f.header, LXW_ALIGN_VERTICAL_TOP);
  format_set_bottom(f.header, LXW_BORDER_THIN);
  format_set_num_format(f.money, kMoneyFormat);
  format_set_num_format(f.count, kCountFormat);
  for (lxw_format* total : {f.totalText, f.totalMoney, f.totalCount}) {
    format_set_bold(total);
    format_set_top(total, LXW_BORDER_THIN);
  }
  format_set_num_format(f.totalMoney, kMoneyFormat);
  format_set_num_format(f.totalCount, kCountFormat);
  return f;
}

// Characters of the cell as the sheet shows it.
size_t ShownWidth(const TableColumn& column, const TableCell& cell) {
  if (column.kind == ColumnKind::Text) return Utf8Length(cell.text);
  // Money gains a group separator every three digits.
  const std::string digits =
      column.kind == ColumnKind::Money ? Format("%.2f", cell.number) : Format("%.0f", cell.number);
  return digits.size() + (column.kind == ColumnKind::Money ? digits.size() / 4 : 0);
}

// Writes the table; the first error stops it.
lxw_error WriteSheet(lxw_workbook* book, const Table& table) {
  lxw_worksheet* sheet =
      workbook_add_worksheet(book, table.sheetName.empty() ? nullptr : table.sheetName.c_str());
  const Formats f = MakeFormats(book);
  if (!sheet || !f.Made()) return LXW_ERROR_MEMORY_MALLOC_FAILED;
  const size_t columns = table.columns.size();
  if (columns > static_cast<size_t>(kMaxColumns)) return LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;

  std::vector<size_t> widths(columns, kLeastWidth);
  std::vector<double> sums(columns, 0);
  lxw_error error = LXW_NO_ERROR;
  for (size_t c = 0; c < columns && !error; ++c) {
    widths[c] = std::max(widths[c], Utf8Length(table.columns[c].label));
    error = worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c),
                                   table.columns[c].label.c_str(), f.header);
  }
  lxw_row_t row = 1;
  for (const auto& cells : table.rows) {
    for (size_t c = 0; c < columns && c < cells.size() && !error; ++c) {
      const TableColumn& column = table.columns[c];
      const TableCell& cell = cells[c];
      const auto col = static_cast<lxw_col_t>(c);
      widths[c] = std::max(widths[c], ShownWidth(column, cell));
      if (column.kind == ColumnKind::Text) {
        if (!cell.text.empty())
          error = worksheet_write_string(sheet, row, col, cell.text.c_str(), nullptr);
      } else {
        sums[c] += cell.number;
        error = worksheet_write_number(sheet, row, col, cell.number,
                                       column.kind == ColumnKind::Money ? f.money : f.count);
      }
    }
    if (error) return error;
    ++row;
  }
  // The totals sum the rows above them, also after the user changes one.
  const int firstRow = 2, lastRow = static_cast<int>(row);
  for (size_t c = 0; c < columns && !error; ++c) {
    const TableColumn& column = table.columns[c];
    const auto col = static_cast<lxw_col_t>(c);
    if (column.kind == ColumnKind::Text || !column.summed) {
      error = worksheet_write_string(sheet, row, col, c == 0 ? table.totalsLabel.c_str() : "",
                                     f.totalText);
      continue;
    }
    const std::string letters = ColumnLetters(static_cast<int>(c) + 1);
    const std::string formula =
        Format(kSumFormula, letters.c_str(), firstRow, letters.c_str(), lastRow);
    const double sum = column.kind == ColumnKind::Money ? std::round(sums[c] * 100) / 100 : sums[c];
    lxw_format* format = column.kind == ColumnKind::Money ? f.totalMoney : f.totalCount;
    error = table.rows.empty()
                ? worksheet_write_number(sheet, row, col, 0, format)
                : worksheet_write_formula_num(sheet, row, col, formula.c_str(), format, sum);
  }
  row += 2;
  for (const std::string& note : table.notes) {
    if (error) break;
    error = worksheet_write_string(sheet, row++, 0, note.c_str(), nullptr);
  }
  for (size_t c = 0; c < columns && !error; ++c) {
    const size_t width = std::min(widths[c] + kWidthRoom, kMostWidth);
    error = worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), width,
                                 nullptr);
  }
  if (error) return error;
  worksheet_freeze_panes(sheet, 1, 0);
  if (columns > 0)
    error = worksheet_autofilter(sheet, 0, 0, static_cast<lxw_row_t>(lastRow - 1),
                                 static_cast<lxw_col_t>(columns - 1));
  return error;
}

}  // namespace

void WriteTableWorkbook(const std::string& path, const Table& table) {
  // Header, rows, totals, a blank row and the notes.
  if (table.rows.size() + table.notes.size() + 3 > static_cast<size_t>(kMaxRows))
    throw WorkbookError(CannotWrite(path, kTooManyRows));
  lxw_workbook* book = NewWorkbook(path);
  const lxw_error error = WriteSheet(book, table);
  if (error != LXW_NO_ERROR) AbandonWorkbook(book, path, error, errno);
  CloseWorkbook(book, path);
}

}  // namespace zrv::workbook
