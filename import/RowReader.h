#pragma once
// The first stage of a contract row: its cells read, parsed and checked into a
// ContractRow, with the FATAL and WARNING lines each group would report. No
// database is asked; what needs one (the persons and properties stored already,
// the classifier ids) is the resolver's (RowResolver.h).

#include <string>

#include "import/CellReader.h"
#include "import/ContractRow.h"

namespace zrv::import {

// Reads contract row `row` and the annex rows below it that repeat its
// number. Throws only what the cells throw (workbook::SheetRereadError).
ContractRow ReadContractRow(const CellReader& cells, int row);

// The nine digits a person with the personal number `number` may have been
// stored under by an import that lost its leading zero; empty when `number`
// has no such form (not ten digits starting with 0, or nine digits that are
// some firm's code).
std::string NumberWithoutLeadingZero(const std::string& number);

}  // namespace zrv::import
