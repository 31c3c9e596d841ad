// Fuzz target of number format codes: the first eight bytes are the value, the
// rest the code.

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/workbook/NumberFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  double value = 0;
  std::memcpy(&value, data, sizeof value);
  const zrv::workbook::NumberFormat format(
      std::string(reinterpret_cast<const char*>(data + 8), size - 8));
  format.FormatNumber(value, false);
  format.FormatNumber(value, true);
  format.FormatText("text");
  return 0;
}
