#include "app/RunStartup.h"

#include <string>

#include "app/DatabaseConnection.h"
#include "app/SchemaVersion.h"
#include "app/SystemString.h"
#include "common/Error.h"

namespace zrv::app {

std::unique_ptr<import::ImportRun> StartImportRun(db::Connection& connection,
                                                  ui::Messages& messages,
                                                  const SessionValues& session) {
  std::string error;
  if (!ConnectDatabase(connection, session.userName, session.password, session.serverName, error)) {
    throw Error(error);
  }
  // A database of an older version lacks guards the import relies on when
  // several workstations write at once; the import still works on it.
  const std::string versionNote = SchemaVersionNote(connection);
  if (!versionNote.empty()) messages.ShowMessage(versionNote);
  import::RunContext context{connection, session.currentUserID, session.userName, {}};
  // Read without writing: a missing setting is not stored by a run (a dry
  // run leaves every table as it was); `zorvit db init` stores it.
  const SystemString settings(&connection);
  context.scheduleSettings.Init(connection, [&settings](int32_t key, int32_t defaultValue) {
    return settings.ReadSystemInt(key, defaultValue);
  });
  auto run = std::make_unique<import::ImportRun>(context, messages);
  run->Start();
  return run;
}

}  // namespace zrv::app
