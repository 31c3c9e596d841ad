// Fuzz target of the .xls reader: the input as an .xls file (the OLE2
// container, the BIFF records and the displayed text of every cell), and the
// input as a bare BIFF stream. The sheet, which reads each row's records again
// when the row is asked for, is read from the last row to the first and
// compared with one scan of the whole stream: a cell that reads differently
// stops the fuzzer.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "platform/workbook/BiffScan.h"
#include "platform/workbook/CellAddress.h"
#include "platform/workbook/NumberFormat.h"
#include "platform/workbook/OleFile.h"
#include "platform/workbook/Readers.h"

namespace {

using zrv::workbook::BiffCell;
using zrv::workbook::BiffSheet;
using zrv::workbook::NumberFormat;

std::string Shown(const BiffSheet& biff, const BiffCell& cell) {
  const NumberFormat format(cell.xf < biff.xfFormats.size() ? biff.xfFormats[cell.xf]
                                                            : std::string("General"));
  switch (cell.kind) {
    case BiffCell::Kind::Number:
      return format.FormatNumber(cell.number, biff.date1904);
    case BiffCell::Kind::Text:
      return format.FormatText(cell.text);
    case BiffCell::Kind::Boolean:
      return zrv::workbook::BooleanText(cell.number != 0);
    case BiffCell::Kind::Error:
      break;
  }
  return "";
}

// The cells of one whole scan as a sheet shows them: the last text that shows
// something, within the sheet's columns.
std::map<std::pair<int, int>, std::string> Expected(const BiffSheet& biff) {
  std::map<std::pair<int, int>, std::string> cells;
  for (const BiffCell& cell : biff.cells) {
    std::string text = Shown(biff, cell);
    if (!text.empty() && cell.column < zrv::workbook::kMaxColumns)
      cells[{cell.row + 1, cell.column + 1}] = std::move(text);
  }
  return cells;
}

void CompareWithOneScan(std::string_view file) {
  std::unique_ptr<zrv::workbook::Worksheet> sheet;
  try {
    sheet = zrv::workbook::ReadXlsMemory(file, "fuzz.xls");
  } catch (const zrv::workbook::WorkbookError&) {
    return;  // refused: nothing to compare
  }
  // What the sheet read, one scan reads too.
  const BiffSheet biff =
      zrv::workbook::ScanBiff(zrv::workbook::ReadOleStream(file, {"Workbook", "Book"}));
  const auto expected = Expected(biff);
  int rows = 0, columns = 0;
  for (const auto& [at, text] : expected) {
    rows = std::max(rows, at.first);
    columns = std::max(columns, at.second);
  }
  if (sheet->UsedRowCount() != rows || sheet->UsedColumnCount() != columns) std::abort();
  for (auto it = expected.rbegin(); it != expected.rend(); ++it) {
    if (sheet->CellText(it->first.first, it->first.second) != it->second) std::abort();
  }
  for (int r = 1; r <= rows && r <= 2000; ++r) {
    for (int c = 1; c <= columns && c <= 64; ++c) {
      if (!sheet->CellText(r, c).empty() && !expected.count({r, c})) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const BiffSheet biff = zrv::workbook::ScanBiff(bytes);
    for (const auto& cell : biff.cells) Shown(biff, cell);
  } catch (const zrv::workbook::BiffError&) {
  }
  CompareWithOneScan(bytes);
  return 0;
}
