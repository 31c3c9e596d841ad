#pragma once
// Adding an annex to a stored monthly rent contract.

#include <cstdint>
#include <string>

#include "platform/db/Database.h"
#include "schedule/Anecs.h"

namespace zrv::schedule {

// Inserts `annex` as an annex of contract `docId` on the connection `db`. When
// the annex stops on another day than the contract, the contract's stop date
// moves to the annex's stop first, and DA_IF2 becomes the old term in whole
// 30-day months. The database gives the new annex its stop date (the contract's
// stop). An annex date of 0 is stored as the current date and time. With
// `rebuild` the schedule is rebuilt afterwards, updating stored periods.
//
// Gives true when the annex is stored. Gives false with "Договорът не е с
// месечно погасяване." in `message`, writing nothing, when the contract is not
// a monthly one (or does not exist). An annex whose stop lies before its start,
// or with a date outside the years 1900 to 9899, is refused with zrv::Error
// before anything is written (`message` holds its text). On a database error
// `message` receives "Грешка при активиране на  заявка : " and the error's
// text; on any error the work is rolled back when this call started the
// transaction, and the error travels on. Runs in the caller's transaction or in
// one of its own; a caller's transaction is never committed or rolled back
// here.
bool AddAnnex(db::Connection& db, int32_t docId, const TAnecsRow& annex, bool rebuild,
              std::string& message);

// The same in the transaction `tx`, which the caller ends (and rolls back on
// an error).
bool AddAnnex(db::Transaction& tx, int32_t docId, const TAnecsRow& annex, bool rebuild,
              std::string& message);

}  // namespace zrv::schedule
