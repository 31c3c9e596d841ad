// Fuzz target of the .xlsx reader: the input as a whole .xlsx package.

#include <cstdint>

#include "platform/workbook/Readers.h"
#include "tests/fuzz/ReadBothWays.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zrv::fuzz::ReadBothWays([&](size_t cellsHeldInMemory) {
    return zrv::workbook::ReadXlsxMemory(data, size, "fuzz.xlsx", cellsHeldInMemory);
  });
  return 0;
}
