// zorvit: the command line of the import tool, for batch use and scripts.

#include <langinfo.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>

#include "Version.h"
#include "app/Settings.h"
#include "app/TerminationSignals.h"
#include "cli/Command.h"
#include "cli/ConnectOptions.h"
#include "platform/db/Database.h"
#include "platform/db/Firebird.h"

namespace {

using zrv::cli::Args;
using zrv::cli::Command;

constexpr const char* kUsage = "Употреба: zorvit КОМАНДА [ОПЦИИ] ...\n";
constexpr const char* kAbout =
    "Внася договори за наем от работна книга (.xls, .xlsx, .ods) в базата данни на "
    "имотите.\n";
constexpr const char* kCommandsHeading = "\nКоманди:\n";
constexpr const char* kCommonHeading = "\nОбщи опции (приемат ги всички команди):\n";
constexpr const char* kMoreHelp = "Повече: zorvit КОМАНДА --help\n";
constexpr const char* kUnknownCommand = "zorvit: непозната команда ";
constexpr const char* kNoCommand = "zorvit: липсва команда";
constexpr const char* kNoSubcommand = ": липсва команда\n";
constexpr const char* kUnknownSubcommand = ": непозната команда ";
constexpr const char* kSeeHelp = " (вижте zorvit --help)";
constexpr const char* kMissingOperand = "липсва ";
constexpr const char* kExtraOperand = "излишен аргумент: ";
constexpr const char* kDatabaseError = "Грешка в базата данни:\n";
constexpr const char* kSettingsHelp =
    "Настройки: /etc/zorvit/zorvit.conf, после "
    "$XDG_CONFIG_HOME/zorvit/zorvit.conf\n"
    "(~/.config/zorvit/zorvit.conf), после средата (ZRV_DATABASE, "
    "ZRV_FIRST_ROW, ...), после\n"
    "опциите; всяко следващо надделява. Редове „ключ = стойност“; ред, "
    "започващ с \"#\", е бележка;\n"
    "ключове: database, log-dir, municipality, first-row, wait-limit.\n";

// Character conversions of the database client (a database path in Cyrillic)
// follow LC_CTYPE, and every text of the program is UTF-8: take the
// environment's locale, and C.UTF-8 when that is not UTF-8, as Qt does for
// the window.
void UseUtf8CharacterType() {
  const char* chosen = std::setlocale(LC_CTYPE, "");
  if (!chosen || std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
    std::setlocale(LC_CTYPE, "C.UTF-8");
}

void PrintHelp() {
  std::cout << kUsage << kAbout << kCommandsHeading << zrv::cli::CommandList();
  zrv::cli::OptionTable options = zrv::cli::CommonOptions();
  options.push_back({"version", "", "показва версията на zorvit (също -V)"});
  std::cout << kCommonHeading << zrv::cli::OptionsHelp(options) << "\n"
            << kSettingsHelp << "\n"
            << zrv::cli::kExitCodesHelp << "\n"
            << kMoreHelp;
}

// The command with the most words matching the start of the arguments.
const Command* FindCommand(const Args& args) {
  const Command* best = nullptr;
  for (const auto& c : zrv::cli::Commands()) {
    if (c.words.size() > args.size()) continue;
    if (!std::equal(c.words.begin(), c.words.end(), args.begin())) continue;
    if (!best || c.words.size() > best->words.size()) best = &c;
  }
  return best;
}

// The settings files and the environment give every option not on the command
// line its value (also keys whose option a command does not have, such as
// log-dir); the database chosen becomes that of the process.
void TakeSettings(zrv::cli::ParsedArgs& parsed) {
  const zrv::app::SettingValues settings =
      zrv::app::ReadSettings(zrv::app::DefaultSettingSources());
  for (const auto& [key, value] : settings) {
    if (!parsed.Has(key)) parsed.Set(key, value);
  }
  zrv::cli::UseDatabaseOption(parsed);
}

void CheckOperands(const Command& command, const Args& operands) {
  if (operands.size() < command.minOperands)
    throw zrv::cli::UsageError(kMissingOperand + command.operands);
  if (operands.size() > command.maxOperands)
    throw zrv::cli::UsageError(kExtraOperand + operands[command.maxOperands]);
}

// `zorvit db`, `zorvit db --help` or `zorvit db frob`: a group of commands
// without one of them gives the group's usage (standard output and exit code 0
// when help was asked for, else standard error and exit code 2).
int RunGroup(const std::string& helpText, const Args& args) {
  const std::string name = "zorvit " + args[0];
  if (args.size() > 1 && (args[1] == "-h" || args[1] == "--help")) {
    std::cout << helpText;
    return zrv::cli::kExitOk;
  }
  // An option in place of the subcommand ("zorvit db --database x") names no
  // command at all.
  const bool named = args.size() > 1 && args[1].rfind("-", 0) != 0;
  std::cerr << name << (named ? kUnknownSubcommand + args[1] + "\n" : std::string(kNoSubcommand))
            << helpText;
  return zrv::cli::kExitUsage;
}

int RunCommand(const Command& command, const Args& args) {
  std::string name = "zorvit";
  for (const auto& word : command.words) name += " " + word;
  try {
    zrv::cli::ParsedArgs parsed = zrv::cli::ParseArgs(command.options, args);
    if (parsed.Has("help")) {
      std::cout << zrv::cli::CommandHelp(command);
      return zrv::cli::kExitOk;
    }
    CheckOperands(command, parsed.Operands());
    TakeSettings(parsed);
    return command.run(parsed);
  } catch (const zrv::app::SettingsError& e) {
    std::cerr << name << ": " << e.what() << std::endl;
    return zrv::cli::kExitUsage;
  } catch (const zrv::cli::UsageError& e) {
    std::cerr << name << ": " << e.what() << " (вижте " << name << " --help)" << std::endl;
    return zrv::cli::kExitUsage;
  } catch (const zrv::db::DbError& e) {
    // The engine's message is English: a Bulgarian line says what failed.
    std::cerr << kDatabaseError << zrv::cli::TerminalText(e.what()) << std::endl;
    return zrv::cli::kExitFailed;
  } catch (const std::exception& e) {
    std::cerr << zrv::cli::TerminalText(e.what()) << std::endl;
    return zrv::cli::kExitFailed;
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Ctrl-C and SIGTERM end a command as usual; without this the database client
  // takes them.
  zrv::app::DieOnTerminationSignals();
  UseUtf8CharacterType();
  Args args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << kNoCommand << kSeeHelp << "\n";
    return zrv::cli::kExitUsage;
  }
  if (args[0] == "-h" || args[0] == "--help") {
    PrintHelp();
    return zrv::cli::kExitOk;
  }
  if (args[0] == "--version" || args[0] == "-V") {
    std::cout << "zorvit " << ZRV_VERSION << "\n";
    return zrv::cli::kExitOk;
  }
  const Command* command = FindCommand(args);
  const std::string groupHelp = zrv::cli::GroupHelp(args[0]);
  if (!command && !groupHelp.empty()) return RunGroup(groupHelp, args);
  if (!command) {
    std::cerr << kUnknownCommand << args[0] << kSeeHelp << "\n";
    return zrv::cli::kExitUsage;
  }
  args.erase(args.begin(), args.begin() + command->words.size());
  const int code = RunCommand(*command, args);
  if (zrv::db::EngineAbandoned()) {
    // An attach is still waiting inside the engine, and so would the engine's
    // exit handlers.
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    _exit(code);
  }
  return code;
}
