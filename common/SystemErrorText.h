#pragma once
// The reason of a failed file operation (an errno value) in Bulgarian, for
// messages a clerk reads.

#include <string>

namespace zrv {

// "няма такъв файл или папка" for ENOENT, and so on for the reasons a clerk
// meets when saving or reading a file; any other value gives "системна
// грешка N" followed by the system's own text.
std::string SystemErrorText(int errorNumber);

}  // namespace zrv
