// zorvit: the command line of the import tool, for batch use and scripts.

#include <algorithm>
#include <exception>
#include <iostream>

#include "Version.h"
#include "app/TerminationSignals.h"
#include "cli/Command.h"

namespace {

void PrintUsage() {
  std::cerr << "Usage: zorvit COMMAND [OPTIONS]\n\nCommands:\n";
  for (const auto& c : zrv::cli::Commands()) {
    std::cerr << "  zorvit " << c.usage << "\n      " << c.summary << "\n";
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Ctrl-C and SIGTERM end a command as usual; without this the database client
  // takes them.
  zrv::app::DieOnTerminationSignals();
  zrv::cli::Args args(argv + 1, argv + argc);
  if (args.size() == 1 && args[0] == "--version") {
    std::cout << "zorvit " << ZRV_VERSION << "\n";
    return 0;
  }
  // The command with the most words matching the start of the arguments wins.
  const zrv::cli::Command* best = nullptr;
  for (const auto& c : zrv::cli::Commands()) {
    if (c.words.size() > args.size()) continue;
    if (!std::equal(c.words.begin(), c.words.end(), args.begin())) continue;
    if (!best || c.words.size() > best->words.size()) best = &c;
  }
  if (!best) {
    PrintUsage();
    return 2;
  }
  args.erase(args.begin(), args.begin() + best->words.size());
  try {
    return best->run(args);
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
}
