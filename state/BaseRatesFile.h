#pragma once
// Reading base-rate periods from a file a clerk prepares in a spreadsheet:
// CSV text (as a spreadsheet saves it) or the rows of a worksheet.
//
// One period a row: first day; last day; rate percent [; daily factor [; issue
// date]]. Dates read dd.mm.yyyy (or yyyy-mm-dd); numbers take a decimal point
// or comma and may end in "%". A CSV file may start with a byte-order mark and
// separate its fields by ";", "," or a tab (a decimal comma then needs ";", a
// tab or a quoted field). Empty rows and rows starting with "#" are skipped,
// and so is a first row whose first field holds no digit (a header). Without a
// daily factor a period charges rate / 36000 a day (the 360-day year of the
// penalty percent); without an issue date it counts as issued on its first day.
//
// The reading is all or nothing: any row that cannot be read whole, a rate
// outside 0 - 100 %, periods with a gap or an overlap, or a file without any
// period refuses the file with a Bulgarian message naming the row.

#include <string>
#include <vector>

#include "common/Csv.h"
#include "state/BaseRates.h"

namespace zrv::state {

// Reads the rows (each with its line or row number). True with the periods in
// `table` in ascending order; false with `error`, `table` untouched.
bool ReadBaseRateRows(const std::vector<csv::Record>& rows, BaseRateTable& table,
                      std::string& error);

// The same from CSV text.
bool ParseBaseRatesCsv(const std::string& text, BaseRateTable& table, std::string& error);

}  // namespace zrv::state
