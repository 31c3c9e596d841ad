#pragma once
// Creating the property database: the file, every table, generator and trigger, and the
// municipality and settlement registers.

#include <memory>
#include <string>

#include "platform/db/Database.h"

namespace zrv::app {

// Creates the database named by params.serverName ("path" for the embedded engine,
// "host:/path" for a server) in SQL dialect 1 with the default character set WIN1251, runs
// the schema scripts in name order and loads the registers. A local path whose file already
// exists is refused with a clear message and left untouched; when a step fails, the half-made
// database is deleted and the error (zrv::Error or db::DbError) says which step failed.
// With forcedWrites false the file is left in the engine's fast, unsynchronised write mode
// (for databases that tests throw away).
void CreatePropertyDatabase(const db::ConnectParams& params, bool forcedWrites = true);

// The same with the embedded engine's owner account, SYSDBA.
void CreatePropertyDatabase(const std::string& path);

// Runs every schema script of the program on an open connection (used on an empty database).
void RunSchemaScripts(db::Connection& connection);
// Loads obsh_tbl and nm_tbl from the register data, in one transaction.
void LoadRegisters(db::Connection& connection);

}  // namespace zrv::app
