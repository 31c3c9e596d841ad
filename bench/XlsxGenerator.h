#pragma once
// Writes .xlsx packages (and other ZIP packages) whose large parts are produced
// piece by piece while libzip compresses them, so a million-row sheet or a part
// of gigabytes never sits in memory or on disk uncompressed.

#include <functional>
#include <string>
#include <vector>

namespace zrv::bench {

// Gives the next piece of a part into `piece` (replacing it); false at the end.
using PartProducer = std::function<bool(std::string& piece)>;

struct GeneratedPart {
  std::string name;      // "xl/worksheets/sheet1.xml"
  PartProducer produce;  // called until it returns false
  int level = 1;         // deflate level: 1 is fast, 9 packs a bomb tightest
};

// A producer of one fixed text.
PartProducer Fixed(std::string text);

// Writes a package of the parts, adding the package relationships, the
// content types and the workbook with its relationships (sheet1.xml, and
// styles.xml and sharedStrings.xml when `parts` has them). Throws
// std::runtime_error when libzip fails.
void WritePackage(const std::string& path, std::vector<GeneratedPart> parts);

// Writes a ZIP archive of these parts alone (an .ods package, say).
void WriteParts(const std::string& path, std::vector<GeneratedPart> parts);

}  // namespace zrv::bench
