#pragma once
// Test .ods workbooks: packages made from their content XML, and the .ods of a
// workbook's first worksheet as LibreOffice would save it.

#include <string>

namespace zrv::test {

inline constexpr char kOdsMimeType[] =
    "application/vnd.oasis.opendocument.spreadsheet";

// Writes a ZIP package holding the part "mimetype" and content.xml. Throws
// std::runtime_error when it cannot.
void WriteOdsPackage(const std::string& path, const std::string& contentXml,
                     const std::string& mimeType = kOdsMimeType);

// Writes `odsPath` with the displayed text of every cell of the first
// worksheet of `workbook` (as string cells with their paragraph) and the
// remaining empty rows of the sheet as one repeated row; gives `odsPath`.
std::string MakeOdsCopy(const std::string& workbook,
                        const std::string& odsPath);

}  // namespace zrv::test
