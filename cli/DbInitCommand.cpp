// zorvit db init [--demo] [--database PATH]: creates the property database
// with its schema and registers; with --demo also the user demo of the
// demonstration (a production database gets its clerks from `zorvit user
// add`).

#include <iostream>

#include "app/DatabaseSetup.h"
#include "app/TerminationSignals.h"
#include "cli/Command.h"
#include "cli/ConnectOptions.h"
#include "platform/login/DatabaseLocation.h"

namespace zrv::cli {

namespace {

constexpr const char* kCreated = "Създадена е базата данни ";

int RunDbInit(const ParsedArgs& args) {
  UseDatabaseOption(args);
  const std::string path = login::DefaultDatabasePath();
  // SIGINT and SIGTERM stop between two statements; the half-made file is
  // removed.
  app::CatchTerminationSignals();
  try {
    app::CreatePropertyDatabase(path, args.Has("demo"));
  } catch (const app::TerminationRequestedError& e) {
    std::cerr << e.what() << "\n";
    return app::TerminationExitCode();
  }
  std::cout << kCreated << path << "\n";
  return kExitOk;
}

const CommandRegistration kDbInit{
    {.words = {"db", "init"},
     .summary = "създава базата данни на имотите със схемата и регистрите",
     .options = {{"demo", "", "добавя и потребителя demo (№ 1) за демонстрацията"}},
     .run = &RunDbInit}};

}  // namespace

}  // namespace zrv::cli
