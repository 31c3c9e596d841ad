#include "app/RunStartup.h"

#include <string>

#include "app/DatabaseConnection.h"
#include "app/SystemString.h"
#include "common/Error.h"

namespace zrv::app {

std::unique_ptr<import::ImportRun> StartImportRun(
    db::Connection& connection, ui::Messages& messages,
    const SessionValues& session) {
  std::string error;
  if (!ConnectDatabase(connection, session.userName, session.password,
                       session.serverName, error)) {
    throw Error(error);
  }
  SystemString::Register(&connection);
  auto run = std::make_unique<import::ImportRun>(connection, messages,
                                                 session.currentUserID);
  run->Start([](int32_t key, int32_t defaultValue) {
    return SystemString::GetSystemInt(key, defaultValue);
  });
  return run;
}

}  // namespace zrv::app
