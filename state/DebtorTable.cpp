#include "state/DebtorTable.h"

#include "common/Rounding.h"
#include "common/Text.h"

namespace zrv::state {

namespace {

using workbook::ColumnKind;
using workbook::TableCell;

constexpr const char* kTitle = "Длъжници към %s";
constexpr const char* kTotals = "Общо";
constexpr const char* kSheetName = "Длъжници %s";
// The notes `zorvit state` gives on the same grounds.
constexpr const char* kNoteNoRates =
    "Внимание: не са заредени основни лихвени проценти; лихвата по основния "
    "лихвен процент е изчислена с 0.00 % (заредете ги със „zorvit rates "
    "import“).";
constexpr const char* kNoteRatesEnd = "Основните лихвени проценти са заредени до %s";
constexpr const char* kNoteCount = "Договори: %d прочетени, %d в списъка.";

}  // namespace

const std::vector<DebtorColumn>& DebtorColumns() {
  static const std::vector<DebtorColumn> columns = {
      {"number", "Договор №", ColumnKind::Text},
      {"id", "Id", ColumnKind::Count, false},
      {"tenant", "Наемател", ColumnKind::Text},
      {"tenant_number", "ЕГН/ЕИК", ColumnKind::Text},
      {"settlement", "Населено място", ColumnKind::Text},
      {"cadastral_id", "Кадастрален идентификатор", ColumnKind::Text},
      {"periods_due", "Дължими периоди", ColumnKind::Count},
      {"due", "Дължимо", ColumnKind::Money},
      {"vat_due", "ДДС", ColumnKind::Money},
      {"interest_due", "Лихва на дължимите периоди", ColumnKind::Money},
      {"interest_total", "Лихва общо с преноса", ColumnKind::Money},
      {"paid_ahead", "Платено напред", ColumnKind::Money},
      {"advance", "Аванс", ColumnKind::Money},
      {"due_bgn", "Дължимо в лева", ColumnKind::Money},
      {"vat_bgn", "ДДС в лева", ColumnKind::Money},
      {"interest_bgn", "Лихва в лева", ColumnKind::Money},
  };
  return columns;
}

namespace {

// The figures' cells, in the order of the columns after the contract's.
std::vector<TableCell> FigureCells(const DueFigures& f) {
  std::vector<TableCell> cells;
  for (double number : {static_cast<double>(f.periodsDue), f.due, f.vatDue, f.interestDue,
                        f.interestTotal, f.paidAhead, f.advance, f.dueBgn, f.vatBgn, f.interestBgn})
    cells.push_back({"", number});
  return cells;
}

std::vector<TableCell> Joined(std::vector<TableCell> first, const std::vector<TableCell>& then) {
  first.insert(first.end(), then.begin(), then.end());
  return first;
}

}  // namespace

std::vector<TableCell> DebtorCells(const DebtorLine& line) {
  const ContractFacts& c = line.contract;
  return Joined({{c.number, 0},
                 {"", static_cast<double>(c.id)},
                 {c.tenant, 0},
                 {c.tenantNumber, 0},
                 {c.settlement, 0},
                 {c.cadastralId, 0}},
                FigureCells(line.figures));
}

std::vector<TableCell> DebtorTotalCells(const DebtorList& list) {
  return Joined({{kTotals, 0}, {}, {}, {}, {}, {}}, FigureCells(list.totals));
}

std::string CellText(const DebtorColumn& column, const TableCell& cell) {
  switch (column.kind) {
    case ColumnKind::Text:
      return cell.text;
    case ColumnKind::Count:
      return Format("%.0f", cell.number);
    case ColumnKind::Money:
      return AmountText(cell.number);
  }
  return cell.text;
}

std::string TotalText(const DebtorColumn& column, const TableCell& cell) {
  if (column.kind != ColumnKind::Text && !column.summed) return "";
  return CellText(column, cell);
}

std::string DebtorsTitle(const DebtorList& list) {
  return Format(kTitle, FormatDMY(list.date).c_str());
}

std::string DebtorTotalsLabel() { return kTotals; }

std::vector<std::string> DebtorNotes(const DebtorList& list) {
  std::vector<std::string> notes;
  if (list.noRates) notes.push_back(kNoteNoRates);
  if (list.ratesLoadedTo != 0)
    notes.push_back(Format(kNoteRatesEnd, FormatDMY(list.ratesLoadedTo).c_str()));
  notes.push_back(Format(kNoteCount, list.contractsRead, static_cast<int>(list.lines.size())));
  return notes;
}

void WriteDebtorsWorkbook(const DebtorList& list, const std::string& path) {
  workbook::Table table;
  table.sheetName = Format(kSheetName, FormatDMY(list.date).c_str());
  for (const DebtorColumn& column : DebtorColumns())
    table.columns.push_back({column.label, column.kind, column.summed});
  table.rows.reserve(list.lines.size());
  for (const DebtorLine& line : list.lines) table.rows.push_back(DebtorCells(line));
  table.totalsLabel = kTotals;
  table.notes = DebtorNotes(list);
  table.notes.insert(table.notes.begin(), DebtorsTitle(list));
  WriteTableWorkbook(path, table);
}

}  // namespace zrv::state
