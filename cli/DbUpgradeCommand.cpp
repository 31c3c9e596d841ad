// zorvit db upgrade [--check] [--database PATH]: brings a database made by an
// earlier version of the program up to this version's schema (see
// app/SchemaUpgrade.h), as the administrator named by ISC_USER and
// ISC_PASSWORD (else SYSDBA, whom the embedded engine trusts). With --check it
// only says what it would do, or why it would refuse.

#include <iostream>

#include "app/DatabaseSetup.h"
#include "app/SchemaUpgrade.h"
#include "app/SchemaVersion.h"
#include "cli/Command.h"
#include "cli/ConnectOptions.h"
#include "common/Text.h"
#include "platform/login/DatabaseLocation.h"

namespace zrv::cli {

namespace {

constexpr const char* kCurrent = "Базата данни %s е обновена (версия на схемата %d).\n";
constexpr const char* kWouldMake =
    "„zorvit db upgrade“ ще обнови базата данни %s от версия на схемата %s до "
    "%d:\n";
constexpr const char* kOnlyVersion = "  (само записва версията)\n";
constexpr const char* kUpgraded = "Базата данни %s е обновена до версия на схемата %d.\n";
constexpr const char* kNoVersion = "незаписана";

int RunDbUpgrade(const ParsedArgs& args) {
  UseDatabaseOption(args);
  const std::string path = login::DefaultDatabasePath();
  const db::ConnectParams admin = app::AdministratorParams(path);
  auto connection = Connect({path, admin.userName, admin.password});

  const app::UpgradePlan plan = app::PlanUpgrade(*connection);
  if (!plan.NeedsUpgrade()) {
    std::cout << Format(kCurrent, path.c_str(), app::kSchemaVersion);
    return kExitOk;
  }
  if (!plan.conflicts.empty()) {
    std::cerr << app::RefusalText(plan.conflicts) << std::endl;
    return kExitFailed;
  }
  if (args.Has("check")) {
    const std::string from =
        plan.storedVersion == 0 ? kNoVersion : std::to_string(plan.storedVersion);
    std::cout << Format(kWouldMake, path.c_str(), from.c_str(), app::kSchemaVersion);
    for (const std::string& step : plan.steps) std::cout << "  " << step << "\n";
    if (plan.steps.empty()) std::cout << kOnlyVersion;
    return kExitOk;
  }
  app::Upgrade(*connection,
               [](const std::string& step) { std::cout << "  + " << step << std::endl; });
  std::cout << Format(kUpgraded, path.c_str(), app::kSchemaVersion);
  return kExitOk;
}

const CommandRegistration kDbUpgrade{
    {.words = {"db", "upgrade"},
     .summary = "обновява база данни от по-стара версия на програмата до "
                "сегашната схема (като ISC_USER/ISC_PASSWORD, иначе SYSDBA)",
     .options = {{"check", "", "само казва какво ще направи или защо ще откаже"}},
     .details = "Изходни кодове: 0 обновена (или вече е била), 1 отказ или грешка "
                "(редовете, които нарушават новите защити, са изброени), 2 "
                "неправилен команден ред.\n",
     .run = &RunDbUpgrade}};

}  // namespace

}  // namespace zrv::cli
