// Fuzz target of the .xlsx reader: the input as a whole .xlsx package.

#include <cstdint>

#include "platform/workbook/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const auto sheet = zrv::workbook::ReadXlsxMemory(data, size, "fuzz.xlsx");
    for (int r = 1; r <= sheet->UsedRowCount() && r <= 2000; ++r) {
      for (int c = 1; c <= sheet->UsedColumnCount() && c <= 64; ++c)
        sheet->CellText(r, c);
    }
  } catch (const zrv::workbook::WorkbookError&) {
  }
  return 0;
}
