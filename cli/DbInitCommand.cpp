// zorvit db init [--database PATH]: creates the property database with its
// schema and registers.

#include <iostream>

#include "app/DatabaseSetup.h"
#include "cli/Command.h"
#include "platform/login/DatabaseLocation.h"

namespace zrv::cli {

namespace {

int RunDbInit(const Args& arguments) {
  Args args = arguments;
  std::string path;
  if (!TakeOption(args, "--database", path))
    path = login::DefaultDatabasePath();
  if (!args.empty()) {
    std::cerr << "Unexpected argument: " << args.front()
              << "\nUsage: zorvit db init [--database PATH]\n";
    return 2;
  }
  app::CreatePropertyDatabase(path);
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
