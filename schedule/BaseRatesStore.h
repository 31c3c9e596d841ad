#pragma once
// The base-rate table in the database (table BASERATES) and its CSV import.
//
// CSV layout, one period a line: first day; last day; rate percent [; daily
// factor [; issue date]] Dates "dd.mm.yyyy". Fields are separated by ";" (then
// "," may be the decimal point) or, when a line holds no ";", by ",". Empty
// lines and lines starting with "#" are skipped, and so is a first line whose
// first field is not a date (a header). Without a daily factor the period
// charges rate / 36000 a day (the 360-day year of the penalty percent); without
// an issue date the period counts as issued on its first day.

#include <string>

#include "platform/db/Database.h"
#include "schedule/BaseRates.h"

namespace zrv::schedule {

// Replaces `table` by the stored periods in ascending order. Throws db::DbError
// on a database error and zrv::Error when the stored periods do not follow one
// another.
void LoadBaseRates(db::Connection& connection, BaseRateTable& table);

// Replaces every stored period by those of `table`, in one transaction (or the
// caller's).
void StoreBaseRates(db::Connection& connection, const BaseRateTable& table);

// Reads the CSV text. True with the periods in `table`; false with `error`
// naming the line.
bool ParseBaseRatesCsv(const std::string& text, BaseRateTable& table,
                       std::string& error);

}  // namespace zrv::schedule
