// Fuzz target of the .xls reader: the input as an .xls file (the OLE2
// container, the BIFF records and the displayed text of every cell), and the
// input as a bare BIFF stream.

#include <cstdint>
#include <string_view>

#include "platform/workbook/BiffScan.h"
#include "platform/workbook/NumberFormat.h"
#include "platform/workbook/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const zrv::workbook::BiffSheet biff = zrv::workbook::ScanBiff(bytes);
    for (const auto& cell : biff.cells) {
      if (cell.xf < biff.xfFormats.size()) {
        zrv::workbook::NumberFormat(biff.xfFormats[cell.xf])
            .FormatNumber(cell.number, biff.date1904);
      }
    }
  } catch (const zrv::workbook::BiffError&) {
  }
  try {
    const auto sheet = zrv::workbook::ReadXlsMemory(bytes, "fuzz.xls");
    for (int r = 1; r <= sheet->UsedRowCount() && r <= 2000; ++r) {
      for (int c = 1; c <= sheet->UsedColumnCount() && c <= 64; ++c)
        sheet->CellText(r, c);
    }
  } catch (const zrv::workbook::WorkbookError&) {
  }
  return 0;
}
