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

}  // namespace zrv::login
