#pragma once
// The Firebird implementation of the database interface, for the code that
// creates connections (app/, tests). Nothing here needs the engine's headers.
//
// Server names are passed to the engine as given: "host:/path/db.fdb" reaches a
// Firebird server, a plain path opens the file with the embedded engine. Every
// connection reads and writes text as UTF-8 and prepares every statement in SQL
// dialect 1.

#include <functional>
#include <memory>
#include <string>

#include "platform/db/Database.h"

namespace zrv::db {

// A closed connection; Open attaches it.
std::unique_ptr<Connection> MakeFirebirdConnection();

// Transactions the connection has started, committed and rolled back since it
// was made (the short ones of single statements included), and the statements
// it prepared.
struct ConnectionCounts {
  long started = 0;
  long committed = 0;
  long rolledBack = 0;
  long prepared = 0;
};
ConnectionCounts CountWork(Connection& connection);

// Creates an empty database file in SQL dialect 1 with the default character
// set WIN1251 and returns a connection open on it. With forcedWrites false the
// engine leaves writing to the operating system's cache (fast, for a database
// that is being filled or thrown away). Throws DbError with the engine's
// message when the file exists or cannot be made.
std::unique_ptr<Connection> CreateFirebirdDatabase(const ConnectParams& params,
                                                   bool forcedWrites);

// Switches synchronous writes of the database on or off for good (attaches once
// to do it).
void SetForcedWrites(const ConnectParams& params, bool on);

// Runs one statement as written, in its own transaction when none is open: no
// named parameters, so ":name" inside trigger and procedure bodies stays the
// body's own variable. The connection must come from this file's functions.
void ExecuteRaw(Connection& connection, const std::string& sql);

// Deletes the database the connection is open on and closes the connection.
void DropFirebirdDatabase(Connection& connection);

// Receives, once per process, a Bulgarian message when the embedded engine
// cannot be set up to share database files with other programs (its root
// folder is not found, or the private copy of it cannot be made); the engine
// then opens a file for one program at a time, and every program still works.
using EngineModeReport = std::function<void(const std::string& message)>;
// Replaces where that message goes (standard error until a program says
// otherwise); set it before the first connection. An empty function keeps the
// message back, for a library whose program reports it itself.
void SetEngineModeReport(EngineModeReport report);

}  // namespace zrv::db
