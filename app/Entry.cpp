#include "app/Entry.h"

#include "app/LoginBinding.h"
#include "app/Session.h"
#include "platform/login/LoginRecord.h"
#include "app/TerminationSignals.h"

namespace zrv {

bool LoginFromParameters(const std::vector<std::string>& parameters,
                         const std::string& libraryFile) {
  TLogInfoRec& record = LogInfo();
  ClearLogInfo(record);
  const bool withCredentials = parameters.size() == 2;
  if (withCredentials) {
    SetShortString(record.UserName, parameters[0], "user name");
    SetShortString(record.Password, parameters[1], "password");
  }
  const bool accepted =
      LoginWithLibrary(libraryFile, kLoginAppName, kLoginAlias,
                       !withCredentials, true, record, LogInfoLists());
  // The login library's attach has let the database client put its signal
  // handlers in front of the program's.
  app::ReclaimTerminationSignals();
  if (!accepted) return false;
  SetSessionFromLogInfo(record);
  return true;
}

bool LoginFromParameters(const std::vector<std::string>& parameters) {
  return LoginFromParameters(parameters, kLoginLibraryName);
}

}  // namespace zrv
