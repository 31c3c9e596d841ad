#include "platform/login/DatabaseLocation.h"

#include <cstdlib>

namespace zrv::login {

namespace {
const char kFileName[] = "zorvit.fdb";
const char kDataFolder[] = "/.local/share/zorvit/";
}  // namespace

std::string DefaultDatabasePath() {
  const char* configured = std::getenv(kDatabaseEnvVar);
  if (configured && *configured) return configured;
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + kDataFolder + kFileName;
  return kFileName;
}

bool IsServerDatabase(const std::string& name) {
  if (name.empty() || name[0] == '/' || name[0] == '.') return false;
  return name.find(':') != std::string::npos;
}

}  // namespace zrv::login
