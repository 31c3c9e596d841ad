#pragma once
// Writing a workbook of text cells (.xlsx): the way rows go back to the user in
// a form a spreadsheet application opens, edits and the import reads again.

#include <cstddef>
#include <string>
#include <vector>

namespace zrv::workbook {

// The most characters a cell of an .xlsx holds.
inline constexpr size_t kMaxCellCharacters = 32767;

// The rows of one worksheet from row 1 on, each a list of cells from column A
// on; an empty text leaves its cell empty.
using TextRows = std::vector<std::vector<std::string>>;

// Writes `rows` (UTF-8) as the only worksheet of a new .xlsx file at `path`,
// replacing a file of that name. Every cell is stored as text under the text
// format "@", so digits keep their leading zeros, a date stays the text it was
// and what the user types there later stays text too; a cell holding line
// breaks wraps. Throws WorkbookError naming the file when it cannot be
// written.
void WriteTextWorkbook(const std::string& path, const TextRows& rows);

}  // namespace zrv::workbook
