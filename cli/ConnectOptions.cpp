#include "cli/ConnectOptions.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>

#include "app/DatabaseConnection.h"
#include "cli/Command.h"
#include "common/Error.h"
#include "common/SystemErrorText.h"
#include "platform/db/Firebird.h"
#include "platform/login/DatabaseLocation.h"

namespace zrv::cli {

namespace {
constexpr const char* kDefaultUser = "SYSDBA";
constexpr const char* kPasswordVariable = "ZRV_PASSWORD";
constexpr const char* kDatabaseVariable = "ZRV_DATABASE";
constexpr const char* kBothPasswords = "--password и --password-file не се дават заедно";
constexpr const char* kCannotReadPassword = "Файлът с паролата не може да се прочете: ";
constexpr const char* kBadWaitLimit = " иска цял брой секунди от 1 до ";
}  // namespace

const OptionTable& LoginOptions() {
  static const OptionTable options = {
      {"user", "ИМЕ", "потребител"},
      {"password", "ПАРОЛА",
       "парола (виждат я и другите потребители на машината: по-добре "
       "--password-file или $ZRV_PASSWORD)"},
      {"password-file", "ФАЙЛ", "паролата е първият ред на файла"},
  };
  return options;
}

OptionTable WithLoginOptions(const OptionTable& own) { return JoinOptions(LoginOptions(), own); }

std::string PasswordFromFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  if (!in || (!std::getline(in, line) && !in.eof()))
    throw Error(kCannotReadPassword + path + " (" + SystemErrorText(errno) + ")");
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::optional<std::string> GivenPassword(const ParsedArgs& args) {
  if (args.Has("password") && args.Has("password-file")) throw UsageError(kBothPasswords);
  if (args.Has("password")) return args.Value("password");
  if (args.Has("password-file")) return PasswordFromFile(args.Value("password-file"));
  if (const char* fromEnvironment = std::getenv(kPasswordVariable))
    return std::string(fromEnvironment);
  return std::nullopt;
}

void UseDatabaseOption(const ParsedArgs& args) {
  if (args.Has("database")) setenv(kDatabaseVariable, args.Value("database").c_str(), 1);
  // The login library reads the limit from the environment too.
  const auto refuse = [](const std::string& where, const std::string& value) {
    return UsageError(where + kBadWaitLimit + std::to_string(db::kMaxWaitLimitSeconds) + ": " +
                      value);
  };
  int seconds = 0;
  if (args.Has("wait-limit")) {
    const std::string given = args.Value("wait-limit");
    if (!db::ParseWaitLimit(given, seconds)) throw refuse("--wait-limit", given);
    setenv(db::kWaitLimitEnvVar, std::to_string(seconds).c_str(), 1);
  } else if (const char* set = std::getenv(db::kWaitLimitEnvVar)) {
    if (!db::ParseWaitLimit(set, seconds))
      throw refuse(std::string("$") + db::kWaitLimitEnvVar, set);
  }
}

ConnectOptions ReadConnectOptions(const ParsedArgs& args) {
  UseDatabaseOption(args);
  return {login::DefaultDatabasePath(), args.Value("user", kDefaultUser),
          GivenPassword(args).value_or("")};
}

std::unique_ptr<db::Connection> Connect(const ConnectOptions& options) {
  auto connection = db::MakeFirebirdConnection();
  std::string errorText;
  if (!app::ConnectDatabase(*connection, options.user, options.password, options.path, errorText)) {
    // The engine's refusal of a missing file names neither the file nor what
    // makes it.
    const std::string missing = app::MissingDatabase(options.path);
    throw Error(missing.empty() ? TerminalText(errorText) : missing);
  }
  return connection;
}

}  // namespace zrv::cli
