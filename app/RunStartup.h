#pragma once
// The start-up of an import run, the same for the window, `zorvit import` and
// the screenshot tool: open the connection with the login's values, hand it to
// the stored settings, and start a run object on it.

#include <memory>

#include "app/Session.h"
#include "import/ImportRun.h"
#include "platform/db/Database.h"
#include "platform/ui/Messages.h"

namespace zrv::app {

// Connects `connection` with the session's server, user name and password,
// shows through `messages` when the database's schema is of another version
// than the program's, registers it with the stored settings and returns a
// started run that shows its boxes through `messages` and stamps the session's
// user on its contracts. Throws zrv::Error with the connection's error text
// when the engine refuses; errors of the run's start travel on. The connection
// and the messages must outlive the run.
std::unique_ptr<import::ImportRun> StartImportRun(db::Connection& connection,
                                                  ui::Messages& messages,
                                                  const SessionValues& session);

}  // namespace zrv::app
