#pragma once
// The list of debtors as a table, the same in every form it is written in
// (text, CSV, JSON, workbook): its columns, a row of cells per line, the
// totals row and the notes on what the figures stand on.

#include <string>
#include <vector>

#include "platform/workbook/TableWorkbookWriter.h"
#include "state/DebtorList.h"

namespace zrv::state {

struct DebtorColumn {
  std::string key;    // names the figure for scripts (JSON)
  std::string label;  // for people
  workbook::ColumnKind kind = workbook::ColumnKind::Text;
  bool summed = true;  // a figure the totals row sums
};

const std::vector<DebtorColumn>& DebtorColumns();

// One cell per column: the text of a text column, the figure of the others.
std::vector<workbook::TableCell> DebtorCells(const DebtorLine& line);
// The totals: the label in the first column, the sums of the figures.
std::vector<workbook::TableCell> DebtorTotalCells(const DebtorList& list);
// A cell as text: money with two decimals, counts whole.
std::string CellText(const DebtorColumn& column, const workbook::TableCell& cell);
// A cell of the totals row as text: empty in a column that is not summed.
std::string TotalText(const DebtorColumn& column, const workbook::TableCell& cell);

// "Длъжници към 31.12.2025".
std::string DebtorsTitle(const DebtorList& list);
// The label of the totals row.
std::string DebtorTotalsLabel();
// What the figures stand on: base rates missing or ending before the date.
std::vector<std::string> DebtorNotes(const DebtorList& list);

// Writes the list as an .xlsx workbook (WriteTableWorkbook); throws
// workbook::WorkbookError naming the file when it cannot.
void WriteDebtorsWorkbook(const DebtorList& list, const std::string& path);

}  // namespace zrv::state
