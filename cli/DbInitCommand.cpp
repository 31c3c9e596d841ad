// zorvit db init [--database PATH]: creates the property database with its
// schema and registers.

#include <iostream>

#include "app/DatabaseLocation.h"
#include "app/DatabaseSetup.h"
#include "app/TerminationSignals.h"
#include "cli/Command.h"

namespace zrv::cli {

namespace {

int RunDbInit(const Args& arguments) {
  Args args = arguments;
  std::string path;
  if (!TakeOption(args, "--database", path)) path = app::DefaultDatabasePath();
  if (!args.empty()) {
    std::cerr << "Unexpected argument: " << args.front()
              << "\nUsage: zorvit db init [--database PATH]\n";
    return 2;
  }
  // SIGINT and SIGTERM stop between two statements; the half-made file is
  // removed.
  app::CatchTerminationSignals();
  try {
    app::CreatePropertyDatabase(path);
  } catch (const app::TerminationRequestedError& e) {
    std::cerr << e.what() << "\n";
    return app::TerminationExitCode();
  }
  std::cout << "Created the property database " << path << "\n";
  return 0;
}

const CommandRegistration kDbInit{
    {"db", "init"},
    "db init [--database PATH]",
    "creates the property database (default: $ZRV_DATABASE, else "
    "~/.local/share/zorvit/zorvit.fdb)",
    &RunDbInit};

}  // namespace

}  // namespace zrv::cli
