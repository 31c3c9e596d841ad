#pragma once
// JSON text for the commands' machine-readable output.

#include <string>

namespace zrv::cli {

// A JSON string: quotes, backslashes and control characters escaped, the UTF-8
// text kept as it is.
std::string JsonString(const std::string& text);

}  // namespace zrv::cli
