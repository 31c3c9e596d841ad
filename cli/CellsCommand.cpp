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

const char kUsage[] = "Usage: zorvit cells WORKBOOK";

int RunCells(const zrv::cli::Args& args) {
  if (args.size() != 1) {
    std::cerr << kUsage << "\n";
    return 2;
  }
  const auto sheet = zrv::workbook::OpenFirstWorksheet(args[0]);
  const zrv::import::CellReader reader(sheet.get());
  std::vector<std::string> letters;
  for (int c = 1; c <= sheet->UsedColumnCount(); ++c)
    letters.push_back(zrv::workbook::ColumnLetters(c));
  std::vector<std::string> fields(letters.size());
  for (int row = 1; row <= reader.UsedRowCount(); ++row) {
    for (size_t c = 0; c < letters.size(); ++c)
      fields[c] = reader.ReadCell(letters[c], row);
    std::cout << zrv::csv::Line(fields) << "\r\n";
  }
  std::cout.flush();
  return std::cout ? 0 : 1;
}

const zrv::cli::CommandRegistration kCells{
    {"cells"},
    "cells WORKBOOK",
    "prints the first worksheet as the import reads it, as CSV (RFC 4180)",
    &RunCells};

}  // namespace
