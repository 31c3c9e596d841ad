// Fuzz target of the .ods reader: the input as the package's content.xml, past
// the ZIP checksums that stop most mutated packages (the package itself goes
// through the same ZipArchive as .xlsx, fuzzed by fuzz_xlsx). The content is
// read as it would unzip, in 13-byte pieces, once held in memory and once read
// again as rows are asked for; a cell that reads differently stops the fuzzer.

#include <cstdint>
#include <string>

#include "platform/workbook/Readers.h"
#include "tests/fuzz/PieceParts.h"
#include "tests/fuzz/ReadBothWays.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zrv::fuzz::PieceParts source;
  source.parts["content.xml"] = std::string(reinterpret_cast<const char*>(data), size);
  zrv::fuzz::ReadBothWays([&source](size_t cellsHeldInMemory) {
    return zrv::workbook::ReadOdsParts(source, "fuzz.ods", cellsHeldInMemory);
  });
  return 0;
}
