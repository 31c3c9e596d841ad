#include "app/Entry.h"

#include "app/LoginBinding.h"
#include "app/TerminationSignals.h"
#include "platform/login/LoginRecord.h"

namespace zrv {

LoginOutcome LoginFromParameters(const std::vector<std::string>& parameters,
                                 const std::string& libraryFile) {
  TLogInfoRec record{};
  LoginLists lists;
  ClearLogInfo(record);
  const bool withCredentials = parameters.size() == 2;
  if (withCredentials) {
    SetShortString(record.UserName, parameters[0], "user name");
    SetShortString(record.Password, parameters[1], "password");
  }
  const bool accepted = LoginWithLibrary(libraryFile, kLoginAppName, kLoginAlias, !withCredentials,
                                         true, record, lists);
  // The login library's attach has let the database client put its signal
  // handlers in front of the program's.
  app::ReclaimTerminationSignals();
  LoginOutcome outcome;
  if (accepted)
    outcome.session = SessionFromLogInfo(record);
  else
    outcome.problem = lists.problem;
  return outcome;
}

LoginOutcome LoginFromParameters(const std::vector<std::string>& parameters) {
  return LoginFromParameters(parameters, LoginLibraryFile());
}

}  // namespace zrv
