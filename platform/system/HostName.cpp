#include "platform/system/HostName.h"

#include <unistd.h>

#include <climits>

namespace zrv::system {

std::string HostName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

}  // namespace zrv::system
