#include "cli/Command.h"

#include <utility>

#include "common/Error.h"

namespace zrv::cli {

namespace {
std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}
}  // namespace

CommandRegistration::CommandRegistration(std::vector<std::string> words,
                                         std::string usage, std::string summary,
                                         CommandFn run) {
  Registry().push_back(
      {std::move(words), std::move(usage), std::move(summary), run});
}

const std::vector<Command>& Commands() { return Registry(); }

bool TakeOption(Args& args, const std::string& name, std::string& value) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != name) continue;
    if (i + 1 >= args.size()) throw Error("Option " + name + " needs a value.");
    value = args[i + 1];
    args.erase(args.begin() + i, args.begin() + i + 2);
    return true;
  }
  return false;
}

bool TakeFlag(Args& args, const std::string& name) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == name) {
      args.erase(args.begin() + i);
      return true;
    }
  }
  return false;
}

std::string TerminalText(std::string text) {
  for (char& c : text) {
    if (c == '\r') c = '\n';
  }
  return text;
}

}  // namespace zrv::cli
