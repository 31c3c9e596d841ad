#pragma once
// The form a command's --format names for its output.

#include <initializer_list>
#include <string>

#include "cli/Options.h"

namespace zrv::cli {

enum class OutputForm { kText, kCsv, kJson, kXlsx };

// The form `args`' --format names (text when none is given), one of `allowed`;
// throws UsageError(badMessage + the text) for another.
OutputForm ReadOutputForm(const ParsedArgs& args, std::initializer_list<OutputForm> allowed,
                          const std::string& badMessage);

}  // namespace zrv::cli
