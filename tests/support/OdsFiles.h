#pragma once
// Test .ods workbooks: packages made from their content XML, and the .ods of a
// workbook's first worksheet as LibreOffice would save it.

#include <string>
#include <vector>

namespace zrv::test {

inline constexpr char kOdsMimeType[] = "application/vnd.oasis.opendocument.spreadsheet";

// Writes a ZIP package holding the part "mimetype" and content.xml. Throws
// std::runtime_error when it cannot.
void WriteOdsPackage(const std::string& path, const std::string& contentXml,
                     const std::string& mimeType = kOdsMimeType);

// The content.xml of an .ods in pieces, as LibreOffice writes it: its start
// up to the first table's rows; one row of string cells (`texts` from column
// A, "" for an empty cell); its end after `rows` rows, with the remaining
// empty rows of the sheet as one repeated row.
std::string OdsContentStart();
std::string OdsRow(const std::vector<std::string>& texts);
std::string OdsContentEnd(int rows);

// Writes `odsPath` with the displayed text of every cell of the first
// worksheet of `workbook` (as string cells with their paragraph) and the
// remaining empty rows of the sheet as one repeated row; gives `odsPath`.
std::string MakeOdsCopy(const std::string& workbook, const std::string& odsPath);

}  // namespace zrv::test
