#pragma once
// The three forms of `zorvit state`'s report: text for people, CSV (RFC 4180,
// UTF-8) and JSON for scripts.
//
// CSV: every record begins with its section: "договор", "бележка",
// "обяснение" and "общо" records hold a label and a value; the tables
// ("период", "плащане", "история", "фактура") start with a record of their
// column names, then one record per row.
//
// JSON: one object with "contract" (the header), "notes", "periods",
// "payments", "history", "invoices" (arrays of objects), "explanation" (lines)
// and "totals"; figures are numbers, empty dates null.

#include <ostream>

#include "state/StateReport.h"

namespace zrv::cli {

void WriteStateText(const state::StateReport& report, std::ostream& out);
void WriteStateCsv(const state::StateReport& report, std::ostream& out);
void WriteStateJson(const state::StateReport& report, std::ostream& out);

}  // namespace zrv::cli
