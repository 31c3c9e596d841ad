#pragma once
// Reads the contract-state look-up tables from the database.

#include "platform/db/Database.h"
#include "state/StateTables.h"

namespace zrv::state {

void LoadVatRates(db::Connection& connection, VatRateTable& table);
void LoadCurrencyFactors(db::Connection& connection, CurrencyFactorTable& table);

// The base rates, VAT rates and currency factors as stored. Throws db::DbError
// on a database error and zrv::Error when the stored base-rate periods do not
// follow one another.
StateTables LoadStateTables(db::Connection& connection);

}  // namespace zrv::state
