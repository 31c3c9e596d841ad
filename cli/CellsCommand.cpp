// `zorvit cells WORKBOOK`: the first worksheet as the import reads it, as CSV
// (RFC 4180, UTF-8, CR LF line ends): rows 1 to the used range's last row,
// every column up to the last used one, each field the cell's displayed text
// trimmed as the import trims it.

#include <iostream>

#include "cli/Command.h"
#include "import/CellReader.h"
#include "platform/workbook/CellAddress.h"
#include "platform/workbook/Workbook.h"

namespace {

// A field in double quotes when it holds a comma, a double quote or a line
// break, inner double quotes doubled.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

int RunCells(const zrv::cli::ParsedArgs& args) {
  const auto sheet = zrv::workbook::OpenFirstWorksheet(args.Operands()[0]);
  const zrv::import::CellReader reader(sheet.get());
  std::vector<std::string> letters;
  for (int c = 1; c <= sheet->UsedColumnCount(); ++c)
    letters.push_back(zrv::workbook::ColumnLetters(c));
  std::string line;
  for (int row = 1; row <= reader.UsedRowCount(); ++row) {
    line.clear();
    for (size_t c = 0; c < letters.size(); ++c) {
      if (c > 0) line += ',';
      line += CsvField(reader.ReadCell(letters[c], row));
    }
    std::cout << line << "\r\n";
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
