// zorvit rates import FILE: replaces the stored base-rate periods on which
// late-payment interest of the base-rate kinds is charged, from a CSV file or
// the first worksheet of an .xls or .xlsx workbook. The table is replaced only
// when every row of the file was read; otherwise it stays as it was.

#include <cerrno>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/Command.h"
#include "cli/ConnectOptions.h"
#include "common/Csv.h"
#include "common/Error.h"
#include "common/SystemErrorText.h"
#include "common/Text.h"
#include "platform/workbook/Workbook.h"
#include "state/BaseRatesFile.h"
#include "state/store/BaseRatesStore.h"

namespace zrv::cli {

namespace {

constexpr const char* kMsgCannotRead = "Файлът %s не може да бъде прочетен.";
constexpr const char* kMsgBadWorkbook = "Работната книга не може да бъде прочетена (%s).";
constexpr const char* kMsgUnchanged = "Основните лихвени проценти в базата не са променени.";
constexpr const char* kMsgStored =
    "Записани са %d периода на основния лихвен процент: от %s до %s.";
constexpr const char* kMsgStoredOne =
    "Записан е %d период на основния лихвен процент: от %s до %s.";

// The whole file; throws zrv::Error naming it when it cannot be opened.
std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error(Format(kMsgCannotRead, path.c_str()) + " (" + SystemErrorText(errno) + ")");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The rows of the first worksheet as records numbered by their row.
std::vector<csv::Record> WorksheetRows(const std::string& path) {
  const auto sheet = workbook::OpenFirstWorksheet(path);
  std::vector<csv::Record> rows;
  for (int r = 1; r <= sheet->UsedRowCount(); ++r) {
    csv::Record row{r, {}};
    for (int c = 1; c <= sheet->UsedColumnCount(); ++c) row.fields.push_back(sheet->CellText(r, c));
    rows.push_back(std::move(row));
  }
  return rows;
}

bool ReadRates(const std::string& path, state::BaseRateTable& table, std::string& error) {
  const std::string text = ReadFile(path);
  if (workbook::HasWorkbookSignature(text)) {
    std::vector<csv::Record> rows;
    try {
      rows = WorksheetRows(path);
    } catch (const workbook::WorkbookError& e) {
      error = Format(kMsgBadWorkbook, e.what());
      return false;
    }
    return state::ReadBaseRateRows(rows, table, error);
  }
  return state::ParseBaseRatesCsv(text, table, error);
}

int RunRatesImport(const ParsedArgs& args) {
  const ConnectOptions options = ReadConnectOptions(args);
  const std::string& file = args.Operands()[0];
  state::BaseRateTable table;
  std::string error;
  if (!ReadRates(file, table, error)) {
    std::cerr << file << ": " << error << "\n" << kMsgUnchanged << "\n";
    return kExitFailed;
  }
  state::StoreBaseRates(*Connect(options), table);
  std::cout << Format(table.Count() == 1 ? kMsgStoredOne : kMsgStored, table.Count(),
                      FormatDMY(table.At(0).firstDay).c_str(),
                      FormatDMY(table.At(table.Count() - 1).lastDay).c_str())
            << "\n";
  return kExitOk;
}

const CommandRegistration kRatesImport{
    {.words = {"rates", "import"},
     .operands = "ФАЙЛ.csv|ФАЙЛ.xlsx|ФАЙЛ.xls",
     .minOperands = 1,
     .maxOperands = 1,
     .summary = "заменя периодите на основния лихвен процент с тези от CSV "
                "файл или работна книга (първи ден; последен ден; процент [; "
                "дневен коефициент [; дата на обявяване]]); при грешка в някой "
                "ред не променя нищо",
     .options = LoginOptions(),
     .run = &RunRatesImport}};

}  // namespace

}  // namespace zrv::cli
