#pragma once
// Where the property database is when nobody says otherwise.

#include <string>

namespace zrv::login {

// The environment variable that names the database ("path" or "host:/path").
inline constexpr const char* kDatabaseEnvVar = "ZRV_DATABASE";

// ZRV_DATABASE when it is set and not empty, else
// "$HOME/.local/share/zorvit/zorvit.fdb" (the current folder's zorvit.fdb when
// HOME is not set either).
std::string DefaultDatabasePath();

// True when the name reaches a Firebird server ("host:/path",
// "host/port:/path", "inet://host/path"); false for a file of this machine (a
// name without a colon, or one that starts as a path does).
bool IsServerDatabase(const std::string& name);

}  // namespace zrv::login
