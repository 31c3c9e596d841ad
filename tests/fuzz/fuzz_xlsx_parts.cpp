// Fuzz target of the XML side of the .xlsx reader, past the ZIP layer (whose
// checksums keep mutated packages from reaching the XML): the input is the
// workbook, styles, shared strings and worksheet parts, separated by lines
// "@@", placed in a package with fixed relationships, each large part read in
// 13-byte pieces.

#include <cstdint>
#include <string>

#include "platform/workbook/Readers.h"
#include "tests/fuzz/PieceParts.h"
#include "tests/fuzz/ReadBothWays.h"

namespace {

const char kPackageRels[] =
    "<Relationships><Relationship Id=\"rId1\" Type=\"x/officeDocument\" "
    "Target=\"xl/workbook.xml\"/>"
    "</Relationships>";
const char kWorkbookRels[] =
    "<Relationships>"
    "<Relationship Id=\"rId1\" Type=\"x/worksheet\" "
    "Target=\"worksheets/sheet1.xml\"/>"
    "<Relationship Id=\"rId2\" Type=\"x/styles\" Target=\"styles.xml\"/>"
    "<Relationship Id=\"rId3\" Type=\"x/sharedStrings\" "
    "Target=\"/xl/sharedStrings.xml\"/>"
    "</Relationships>";
const char* const kParts[] = {"xl/workbook.xml", "xl/styles.xml", "xl/sharedStrings.xml",
                              "xl/worksheets/sheet1.xml"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  zrv::fuzz::PieceParts source;
  source.parts["_rels/.rels"] = kPackageRels;
  source.parts["xl/_rels/workbook.xml.rels"] = kWorkbookRels;
  size_t start = 0;
  for (const char* name : kParts) {
    const size_t end = input.find("\n@@\n", start);
    source.parts[name] =
        input.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (end == std::string::npos) break;
    start = end + 4;
  }
  zrv::fuzz::ReadBothWays([&source](size_t cellsHeldInMemory) {
    return zrv::workbook::ReadXlsxParts(source, "fuzz.xlsx", cellsHeldInMemory);
  });
  return 0;
}
