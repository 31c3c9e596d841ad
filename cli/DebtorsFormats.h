#pragma once
// The forms of `zorvit debtors`' list besides the workbook: text for people,
// CSV (RFC 4180, UTF-8) and JSON for scripts.
//
// Text: the title, the notes, then the table with a column per figure and the
// totals row.
//
// CSV: every record begins with its section, as `zorvit state`'s CSV does:
// "бележка" records hold a note; "длъжник" starts the record of the column
// names and then one record per contract; "общо" holds the totals under their
// columns.
//
// JSON: one object with "date", "rates_loaded_to" (null when the base rates
// reach the date), "notes", "debtors" (an object per contract, figures as
// numbers, keyed as `zorvit state`'s totals) and "totals".

#include <ostream>

#include "state/DebtorList.h"

namespace zrv::cli {

void WriteDebtorsText(const state::DebtorList& list, std::ostream& out);
void WriteDebtorsCsv(const state::DebtorList& list, std::ostream& out);
void WriteDebtorsJson(const state::DebtorList& list, std::ostream& out);

}  // namespace zrv::cli
