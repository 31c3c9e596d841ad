#pragma once
// SIGINT and SIGTERM for the programs. The database client library installs its
// own handlers for both signals at its first attach or creation, in front of
// the program's (calling them after its own), and its handlers shut the engine
// down, leaving the process running with a dead connection. The programs
// therefore install theirs first, before anything attaches to a database, and
// put them back in front after the first attach (ReclaimTerminationSignals).

#include "common/Error.h"

namespace zrv::app {

// From now on SIGINT and SIGTERM only record the signal, which
// TerminationRequested and TerminationSignal report; the work stops at its next
// safe point. A database call still running a second after the signal is
// aborted (db::SetStopCheck). A second signal ends the process at once.
void CatchTerminationSignals();
bool TerminationRequested();

// From now on SIGINT and SIGTERM end the process at once, as they would without
// the database client; an open transaction is then rolled back by the engine.
void DieOnTerminationSignals();

// Puts the handlers chosen last (catch or die) back in front of the database
// client's: call it after a connection is opened or a database created.
void ReclaimTerminationSignals();

// The exit code of a program stopped by a signal: 128 + the signal's number
// (130 for SIGINT, 143 for SIGTERM).
int TerminationExitCode();

// Thrown at a safe point of long work once a stop was requested.
class TerminationRequestedError : public zrv::Error {
 public:
  using zrv::Error::Error;
};

// Throws TerminationRequestedError when a stop was requested.
void StopIfTerminationRequested();

}  // namespace zrv::app
