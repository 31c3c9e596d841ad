// Fuzz target of the .ods reader: the input as the package's content.xml, past
// the ZIP checksums that stop most mutated packages (the package itself goes
// through the same ZipArchive as .xlsx, fuzzed by fuzz_xlsx).

#include <cstdint>
#include <string_view>

#include "platform/workbook/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const auto sheet = zrv::workbook::ReadOdsContent(
        std::string_view(reinterpret_cast<const char*>(data), size),
        "fuzz.ods");
    for (int r = 1; r <= sheet->UsedRowCount() && r <= 2000; ++r) {
      for (int c = 1; c <= sheet->UsedColumnCount() && c <= 64; ++c)
        sheet->CellText(r, c);
    }
  } catch (const zrv::workbook::WorkbookError&) {
  }
  return 0;
}
