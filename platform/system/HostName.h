#pragma once
// The name of this machine, as the run history records the workstation.

#include <string>

namespace zrv::system {

// The host name; empty when the system gives none.
std::string HostName();

}  // namespace zrv::system
