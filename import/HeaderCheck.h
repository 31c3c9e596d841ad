#pragma once
// The header row of a workbook against the titles of the columns the run
// reads: those of the template workbook and examples/contracts.xls. Values are
// read by column letter, so a column inserted or deleted by hand shifts every
// value after it; one message before the first row names what moved, instead
// of a missing value on every row.

#include <string>
#include <vector>

namespace zrv::import {

// A column the run reads and the title the template's header row gives it.
struct ColumnTitle {
  const char* column;  // "E"
  const char* title;   // "ЕГН/Булстат на наемателя"
};

// The read columns A to AJ in order, without L, M and AA (not read).
const std::vector<ColumnTitle>& TemplateTitles();

// How far to the right of AJ the header row is read, to find titles shifted
// by inserted columns.
inline constexpr int kHeaderColumnsRead = 52;  // A to AZ

// The message naming the columns whose titles are found elsewhere in the
// header row (shifted) or nowhere (missing); empty when every title is in its
// column. `cells` are the header row's texts from column A on; `headerRow` is
// the row's number, for the message.
//
// A header cell matches a title whatever the letter case and the blanks
// around and between words, and also when it gives only the title's first
// words ("Срок" for "Срок (месеци)"); an empty cell matches nothing. A row in
// which fewer than half of the titles are found anywhere is not the
// template's header (a layout with titles of its own, or a data row): it is
// not judged, and the result is empty.
std::string HeaderMismatch(const std::vector<std::string>& cells, int headerRow);

}  // namespace zrv::import
