#pragma once
// SIGINT and SIGTERM for the programs. The database client library installs its
// own handlers for both signals at the first attach unless the program has one
// already, and its handlers only shut the engine down, leaving the process
// running with a dead connection. The programs therefore install theirs first,
// before anything attaches to a database.

namespace zrv::app {

// From now on SIGINT and SIGTERM only set a flag that TerminationRequested
// reports.
void CatchTerminationSignals();
bool TerminationRequested();

// From now on SIGINT and SIGTERM end the process at once, as they would without
// the database client; an open transaction is then rolled back by the engine.
void DieOnTerminationSignals();

}  // namespace zrv::app
