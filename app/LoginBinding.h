#pragma once
// The program's binding to the login library: loads libZrvLogin.so for one
// login, calls its entry points and unloads it again.

#include <optional>
#include <string>
#include <vector>

#include "platform/login/LoginRecord.h"

namespace zrv {

// The file name of the login library.
inline constexpr const char* kLoginLibraryName = "libZrvLogin.so";

// The library Login loads: the copy beside the running program, by its full
// path, when there is one; else the bare name, for the dynamic loader's
// search.
std::string LoginLibraryFile();

// The two lists the library may report with a login, and why it refused;
// the program owns them.
struct LoginLists {
  std::vector<TUsersInfo> users;
  std::vector<TUserRights> rights;
  // GetLoginProblem's text after the login: empty when it was accepted or
  // cancelled; nullopt when the library does not tell.
  std::optional<std::string> problem;
};

// Logs in through the login library: SetClientNames(null, null) when the
// library has it, then ExternalLogin(appName, alias, interactive, secondFlag,
// &record); then, whatever the login gave, the rights list and the users list
// are sized to the counts in the record (zero-filled) and handed to
// GetUserRights / GetAppUsersList when the count is positive and the entry
// point exists, and GetLoginProblem's text is taken when it exists. Returns
// ExternalLogin's result, false when the library has no ExternalLogin. Throws
// zrv::Error "Missing libZrvLogin.so." when the library cannot be loaded. The
// library is unloaded before returning, also when a call throws.
bool Login(const std::string& appName, const std::string& alias, bool interactive, bool secondFlag,
           TLogInfoRec& record, LoginLists& lists);

// The same with the library file given: a bare name goes through the loader's
// search, a path is loaded as it is. The error names the file name without its
// folder ("Missing <name>.").
bool LoginWithLibrary(const std::string& libraryFile, const std::string& appName,
                      const std::string& alias, bool interactive, bool secondFlag,
                      TLogInfoRec& record, LoginLists& lists);

}  // namespace zrv
