#pragma once
// Opening the program's one database connection, and the query factory of the
// database operations.

#include <memory>
#include <string>

#include "platform/db/Database.h"

namespace zrv::app {

// Opens the connection with the login's user name, password and server name
// ("path" for the embedded engine, "host:/path" for a server), closing it first
// when it is open. Returns true with errorText empty on success. When the
// engine refuses, returns false and errorText holds "Грешка при свързване към
// БД (" + server + ")", a carriage return and the engine's message.
bool ConnectDatabase(db::Connection& connection, const std::string& userName,
                     const std::string& password, const std::string& serverName,
                     std::string& errorText);

// "Няма база данни PATH (създава се със „zorvit db init --database PATH“)."
// for an embedded database whose file is not there; empty for one that is, and
// for a server's database.
std::string MissingDatabase(const std::string& serverName);

// Why an embedded database cannot be opened by anyone, told before a login
// would report a refusal instead: MissingDatabase for a missing file,
// kDatabaseBusy for a file another
// program holds without sharing it, kDatabaseNotAnswering for one whose holder
// does not answer within the wait limit (then db::EngineAbandoned() is true).
// Empty when the file opens, for any other refusal (left to the login to
// report) and for a server's database. Attaches once to find out.
std::string DatabaseProblem(const std::string& serverName);

// A new query the caller owns: bound to the connection (its database name is
// "prop_db"), or, without a connection, a query with an empty database name
// that can hold SQL text and parameters but fails with DbError when run.
std::unique_ptr<db::Query> NewQuery(db::Connection* connection);

}  // namespace zrv::app
