#pragma once
// The version of the database's schema (table schema_version), and what the
// programs say when a database is older or newer than they are.
//
// The versions so far (docs/administration.md lists them too):
//   1  the tables, registers and triggers of the first version
//   2  every table open to the users who log in (grants to PUBLIC)
//   3  unique indexes on the classifier texts
//   4  the annex CHECK ck_anecs_period
//   5  contract_keys and its trigger
//   6  person_keys, property_keys and their triggers
//   7  schema_version itself; `db init` makes the demo user only when asked
//   8  the run history: import_runs and import_run_items
// A change of the schema scripts raises kSchemaVersion by one.

#include <cstdint>
#include <string>

#include "platform/db/Database.h"

namespace zrv::app {

inline constexpr int32_t kSchemaVersion = 8;

// The highest version recorded in the database; 0 for a database made before
// versions were kept (no table schema_version).
int32_t StoredSchemaVersion(db::Connection& db);

// Records kSchemaVersion, in a transaction of its own, unless the database
// has it (or a higher one) already.
void RecordSchemaVersion(db::Connection& db);

// The message for a database of another version than the program's (an older
// one names `zorvit db upgrade`); empty when the versions agree.
std::string SchemaVersionNote(db::Connection& db);

}  // namespace zrv::app
