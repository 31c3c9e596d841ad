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

// True for a server's database, a name with a host part ("host:/path",
// "host/port:/path"); false for a file of the embedded engine.
bool IsServerName(const std::string& serverName);

// Creates an empty database file in SQL dialect 1 with the default character
// set WIN1251 and returns a connection open on it. With forcedWrites false the
// engine leaves writing to the operating system's cache (fast, for a database
// that is being filled or thrown away). Throws DbError with the engine's
// message when the file exists or cannot be made.
std::unique_ptr<Connection> CreateFirebirdDatabase(const ConnectParams& params, bool forcedWrites);

// Switches synchronous writes of the database on or off for good (attaches once
// to do it).
void SetForcedWrites(const ConnectParams& params, bool on);

// Runs one statement as written, in its own transaction when none is open: no
// named parameters, so ":name" inside trigger and procedure bodies stays the
// body's own variable. The connection must come from this file's functions.
void ExecuteRaw(Connection& connection, const std::string& sql);
// The same in `tx`, which must be a connection's open transaction seen as a
// Transaction (OpenTransaction, as OwnTransaction::Get gives it): the stores
// that run schema statements take one. DbError for another kind.
void ExecuteRaw(Transaction& tx, const std::string& sql);

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

// No wait without bound. An attach, or a call on an attachment (a statement,
// a commit, a detach), that gets no answer within the wait limit is given up
// with NoAnswerError: a call in progress has its attachment aborted from a
// watching thread; an attach that does not return is left to its own thread.
// The limit is $ZRV_WAIT_LIMIT (whole seconds, 1 to kMaxWaitLimitSeconds),
// read at every attach, else kDefaultWaitLimitSeconds; no healthy import
// waits that long (a row waits at most 10 s for another workstation's lock).
inline constexpr const char* kWaitLimitEnvVar = "ZRV_WAIT_LIMIT";
inline constexpr int kDefaultWaitLimitSeconds = 30;
inline constexpr int kMaxWaitLimitSeconds = 3600;

// True with the seconds when text is a whole number of seconds from 1 to
// kMaxWaitLimitSeconds.
bool ParseWaitLimit(const std::string& text, int& seconds);

// The limit in force: $ZRV_WAIT_LIMIT when it parses, else the default.
int WaitLimitSeconds();

// Asked by the watching threads about ten times a second: once it answers
// true, a call that has run for more than a second after that is aborted, so
// that the program can stop (NoAnswerError). None by default.
void SetStopCheck(bool (*stopRequested)());

// True once an attach was given up in this process: its thread still waits
// inside the engine, and the engine's exit handlers would wait for it without
// end. The programs then end with _exit, after flushing their output.
bool EngineAbandoned();

}  // namespace zrv::db
