// `zorvit cells WORKBOOK`: the first worksheet as the import reads it, as CSV
// (RFC 4180, UTF-8, CR LF line ends): rows 1 to the used range's last row,
// every column up to the last used one, each field the cell's displayed text
// trimmed as the import trims it.

#include <iostream>

#include "cli/Command.h"
#include "common/Csv.h"
#include "import/CellReader.h"
#include "platform/workbook/CellAddress.h"
#include "platform/workbook/Workbook.h"

namespace {

int RunCells(const zrv::cli::ParsedArgs& args) {
  const auto sheet = zrv::workbook::OpenFirstWorksheet(args.Operands()[0]);
  const zrv::import::CellReader reader(sheet.get());
  std::vector<std::string> letters;
  for (int c = 1; c <= sheet->UsedColumnCount(); ++c)
    letters.push_back(zrv::workbook::ColumnLetters(c));
  std::vector<std::string> fields(letters.size());
  for (int row = 1; row <= reader.UsedRowCount(); ++row) {
    for (size_t c = 0; c < letters.size(); ++c) fields[c] = reader.ReadCell(letters[c], row);
    std::cout << zrv::csv::Line(fields) << "\r\n";
  }
  std::cout.flush();
  return std::cout ? zrv::cli::kExitOk : zrv::cli::kExitFailed;
}

const zrv::cli::CommandRegistration kCells{
    {.words = {"cells"},
     .operands = "КНИГА",
     .minOperands = 1,
     .maxOperands = 1,
     .summary = "извежда първия лист на работната книга, както го чете "
                "импортирането, като CSV (RFC 4180)",
     .run = &RunCells}};

}  // namespace
