#pragma once
// Creating the property database: the file, every table, generator and trigger,
// and the municipality and settlement registers.

#include <memory>
#include <string>

#include "app/EmbeddedSchema.h"
#include "platform/db/Database.h"

namespace zrv::app {

// Creates the database named by params.serverName ("path" for the embedded
// engine, "host:/path" for a server) in SQL dialect 1 with the default
// character set WIN1251, runs the schema scripts in name order, loads the
// registers and records the schema's version; with demoUser, adds the user
// demo (id 1) of the demonstration to app_users. A local path whose file
// already exists is refused with a clear message and left untouched; when a
// step fails, the half-made database is deleted and the error (zrv::Error or
// db::DbError) says which step failed. With forcedWrites false the file is
// left in the engine's fast, unsynchronised write mode (for databases that
// tests throw away).
void CreatePropertyDatabase(const db::ConnectParams& params, bool forcedWrites = true,
                            bool demoUser = false);

// The account of the database's administrator: ISC_USER and ISC_PASSWORD (a
// server checks them), else SYSDBA with the engine's default password (the
// embedded engine trusts the local user).
db::ConnectParams AdministratorParams(const std::string& path);

// CreatePropertyDatabase as the administrator (AdministratorParams).
void CreatePropertyDatabase(const std::string& path, bool demoUser);

// The database exactly as the given schema files make it (no version is
// recorded, no user added), for databases of other versions.
void CreatePropertyDatabase(const db::ConnectParams& params, bool forcedWrites,
                            const std::vector<EmbeddedFile>& files);

// Runs the schema scripts among files (top-level *.sql, in name order) on an
// open connection.
void RunSchemaScripts(db::Connection& connection, const std::vector<EmbeddedFile>& files);
// Loads obsh_tbl and nm_tbl from data/obsh_tbl.csv and data/nm_tbl.csv of
// files, in one transaction.
void LoadRegisters(db::Connection& connection, const std::vector<EmbeddedFile>& files);

}  // namespace zrv::app
