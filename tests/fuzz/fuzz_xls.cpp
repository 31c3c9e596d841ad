// Fuzz target of the .xls reader: the input as an .xls file (FreeXL's check, the OLE2 container,
// the BIFF records and the displayed text of every cell), and the input as a bare BIFF stream.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/workbook/BiffScan.h"
#include "platform/workbook/NumberFormat.h"
#include "platform/workbook/Readers.h"

namespace {

// FreeXL reads files only; each input goes to one file of this process.
const std::string& InputPath() {
  static const std::string path = "/tmp/zrv-fuzz-xls-" + std::to_string(getpid()) + ".xls";
  return path;
}

void ReadEveryCell(const zrv::workbook::Worksheet& sheet) {
  for (int r = 1; r <= sheet.UsedRowCount() && r <= 2000; ++r) {
    for (int c = 1; c <= sheet.UsedColumnCount() && c <= 64; ++c) sheet.CellText(r, c);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  try {
    const zrv::workbook::BiffSheet biff = zrv::workbook::ScanBiff(bytes);
    for (const auto& cell : biff.cells) {
      if (cell.xf < biff.xfFormats.size()) {
        zrv::workbook::NumberFormat(biff.xfFormats[cell.xf]).FormatNumber(cell.number, biff.date1904);
      }
    }
  } catch (const zrv::workbook::BiffError&) {
  }
  if (size < 8 || data[0] != 0xD0 || data[1] != 0xCF) return 0;
  if (FILE* f = std::fopen(InputPath().c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  try {
    ReadEveryCell(*zrv::workbook::ReadXlsFile(InputPath()));
  } catch (const zrv::workbook::WorkbookError&) {
  }
  return 0;
}
