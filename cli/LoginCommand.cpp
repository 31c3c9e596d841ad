// zorvit login [--user NAME --password TEXT]: logs in through the login library
// (without a dialog when both options are given, else asking on the terminal),
// opens the database with what the login returned and prints the user id, the
// server name and stored setting 14015. It shows that the login and the
// database start-up work.

#include <iostream>
#include <vector>

#include "app/DatabaseConnection.h"
#include "app/Entry.h"
#include "app/Session.h"
#include "app/SystemString.h"
#include "cli/Command.h"
#include "platform/db/Firebird.h"

namespace zrv::cli {

namespace {

constexpr const char* kUsage = "login [--user NAME --password TEXT]";
constexpr const char* kRefused = "Login refused.";
// The setting the rent schedule module reads at start-up, with its default.
constexpr int32_t kScheduleSetting = 14015;
constexpr int32_t kScheduleSettingDefault = 2;

int RunLogin(const Args& arguments) {
  Args args = arguments;
  std::string user, password;
  const bool haveUser = TakeOption(args, "--user", user);
  const bool havePassword = TakeOption(args, "--password", password);
  if (!args.empty()) {
    std::cerr << "Unexpected argument: " << args.front() << "\nUsage: zorvit "
              << kUsage << "\n";
    return 2;
  }
  std::vector<std::string> parameters;
  if (haveUser && havePassword) parameters = {user, password};

  if (!LoginFromParameters(parameters)) {
    std::cerr << kRefused << "\n";
    return 1;
  }
  const SessionValues& session = Session();
  auto connection = db::MakeFirebirdConnection();
  std::string errorText;
  if (!app::ConnectDatabase(*connection, session.userName, session.password,
                            session.serverName, errorText)) {
    std::cerr << errorText << "\n";
    return 1;
  }
  app::SystemString::Register(connection.get());
  const int32_t setting = app::SystemString::GetSystemInt(
      kScheduleSetting, kScheduleSettingDefault);
  app::SystemString::Register(nullptr);

  std::cout << "User id: " << CurrentUserID() << "\n"
            << "Server: " << session.serverName << "\n"
            << "Setting " << kScheduleSetting << ": " << setting << "\n";
  return 0;
}

const CommandRegistration kLogin{{"login"},
                                 kUsage,
                                 "logs in through libZrvLogin.so and opens the "
                                 "database (shows that start-up works)",
                                 &RunLogin};

}  // namespace

}  // namespace zrv::cli
