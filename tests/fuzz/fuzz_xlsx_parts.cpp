// Fuzz target of the XML side of the .xlsx reader, past the ZIP layer (whose
// checksums keep mutated packages from reaching the XML): the input is the
// workbook, styles, shared strings and worksheet parts, separated by lines
// "@@", placed in a package with fixed relationships.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "platform/workbook/Readers.h"
#include "platform/workbook/ZipArchive.h"
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
const char* const kParts[] = {"xl/workbook.xml", "xl/styles.xml",
                              "xl/sharedStrings.xml",
                              "xl/worksheets/sheet1.xml"};

class Parts : public zrv::workbook::PartSource {
 public:
  bool Contains(const std::string& name) const override {
    return parts.count(name) > 0;
  }
  std::string Read(const std::string& name) const override {
    auto it = parts.find(name);
    if (it == parts.end()) throw zrv::workbook::ZipError("no part " + name);
    return it->second;
  }
  // Large parts come in pieces of 13 bytes, so the XML reader meets every
  // kind of markup split at its buffer's end.
  std::unique_ptr<zrv::workbook::PartStream> Open(
      const std::string& name) const override {
    struct Pieces : zrv::workbook::PartStream {
      explicit Pieces(std::string text) : text(std::move(text)) {}
      size_t Read(char* buffer, size_t capacity) override {
        const size_t n = std::min({capacity, size_t{13}, text.size() - at});
        std::memcpy(buffer, text.data() + at, n);
        at += n;
        return n;
      }
      std::string text;
      size_t at = 0;
    };
    return std::make_unique<Pieces>(Read(name));
  }
  std::map<std::string, std::string> parts;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  Parts source;
  source.parts["_rels/.rels"] = kPackageRels;
  source.parts["xl/_rels/workbook.xml.rels"] = kWorkbookRels;
  size_t start = 0;
  for (const char* name : kParts) {
    const size_t end = input.find("\n@@\n", start);
    source.parts[name] = input.substr(
        start, end == std::string::npos ? std::string::npos : end - start);
    if (end == std::string::npos) break;
    start = end + 4;
  }
  zrv::fuzz::ReadBothWays([&source](size_t cellsHeldInMemory) {
    return zrv::workbook::ReadXlsxParts(source, "fuzz.xlsx", cellsHeldInMemory);
  });
  return 0;
}
