// zorvit login [--user NAME --password TEXT]: logs in through the login library
// (without a dialog when a user name and a password are given, else asking on
// the terminal), opens the database with what the login returned and prints
// the user id, the database and stored setting 14015. It shows that the login
// and the database start-up work, and says on standard error when the
// database's schema is of another version than the program's.

#include <iostream>
#include <vector>

#include "app/DatabaseConnection.h"
#include "app/Entry.h"
#include "app/SchemaVersion.h"
#include "app/Session.h"
#include "app/SystemString.h"
#include "cli/Command.h"
#include "cli/ConnectOptions.h"
#include "platform/db/Firebird.h"
#include "platform/login/DatabaseLocation.h"

namespace zrv::cli {

namespace {

// The setting the rent schedule module reads at start-up, with its default.
constexpr int32_t kScheduleSetting = 14015;
constexpr int32_t kScheduleSettingDefault = 2;

int RunLogin(const ParsedArgs& args) {
  UseDatabaseOption(args);
  const std::optional<std::string> password = GivenPassword(args);
  std::vector<std::string> parameters;
  if (args.Has("user") && password) parameters = {args.Value("user"), *password};

  // A missing, held or stuck embedded file is named rather than reported as a
  // refused login (or waited for without end).
  const std::string problem = app::DatabaseProblem(login::DefaultDatabasePath());
  if (!problem.empty()) {
    std::cerr << TerminalText(problem) << "\n";
    return kExitFailed;
  }
  const LoginOutcome login = LoginFromParameters(parameters);
  if (!login) {
    std::cerr << kLoginRefused << "\n";
    return kExitFailed;
  }
  const SessionValues& session = *login.session;
  auto connection = db::MakeFirebirdConnection();
  std::string errorText;
  if (!app::ConnectDatabase(*connection, session.userName, session.password, session.serverName,
                            errorText)) {
    std::cerr << TerminalText(errorText) << "\n";
    return kExitFailed;
  }
  const std::string versionNote = app::SchemaVersionNote(*connection);
  if (!versionNote.empty()) std::cerr << versionNote << "\n";
  const int32_t setting =
      app::SystemString(connection.get()).ReadSystemInt(kScheduleSetting, kScheduleSettingDefault);

  std::cout << "Потребител №: " << session.currentUserID << "\n"
            << "База данни: " << session.serverName << "\n"
            << "Настройка " << kScheduleSetting << ": " << setting << "\n";
  return kExitOk;
}

const CommandRegistration kLogin{{.words = {"login"},
                                  .summary =
                                      "влиза през libZrvLogin.so и отваря базата данни (проверка, "
                                      "че стартът работи)",
                                  .options = LoginOptions(),
                                  .run = &RunLogin}};

}  // namespace

}  // namespace zrv::cli
