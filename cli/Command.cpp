#include "cli/Command.h"

#include <utility>

namespace zrv::cli {

namespace {

constexpr const char* kUsage = "Употреба: ";
constexpr const char* kOptionsHeading = "\nОпции:\n";
constexpr const char* kGroupUsage = " КОМАНДА [ОПЦИИ] ...\n\nКоманди:\n";
constexpr const char* kGroupMoreHelp = "\nПовече: zorvit %s КОМАНДА --help\n";

std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

}  // namespace

const char kExitCodesHelp[] =
    "Изходни кодове:\n"
    "  0  всички редове са записани (успех)\n"
    "  1  работата не започна или спря: отказан вход, недостъпна или заета "
    "база\n"
    "     данни, нечетима работна книга, прекъсната връзка с базата данни,\n"
    "     база данни, която не отговаря или не може да записва\n"
    "  2  неправилен команден ред\n"
    "  3  импортирането завърши, но има отказани редове (вижте лог файла)\n"
    "  130, 143  SIGINT или SIGTERM спря импортирането между два реда\n";

CommandRegistration::CommandRegistration(Command command) {
  Registry().push_back(std::move(command));
}

const std::vector<Command>& Commands() { return Registry(); }

std::string UsageLine(const Command& command) {
  std::string line = "zorvit";
  for (const auto& word : command.words) line += " " + word;
  line += " [ОПЦИИ]";
  if (!command.operands.empty()) line += " " + command.operands;
  return line;
}

std::string CommandHelp(const Command& command) {
  std::string text = kUsage + UsageLine(command) + "\n" + command.summary + "\n" + kOptionsHeading +
                     OptionsHelp(JoinOptions(command.options, CommonOptions()));
  if (!command.details.empty()) text += "\n" + command.details;
  return text;
}

std::string CommandList(const std::string& word) {
  std::string text;
  for (const auto& c : Commands()) {
    if (!word.empty() && c.words.front() != word) continue;
    text += "  " + UsageLine(c) + "\n      " + c.summary + "\n";
  }
  return text;
}

std::string GroupHelp(const std::string& word) {
  const std::string commands = CommandList(word);
  if (commands.empty()) return "";
  std::string more = kGroupMoreHelp;
  more.replace(more.find("%s"), 2, word);
  return kUsage + std::string("zorvit ") + word + kGroupUsage + commands + more;
}

std::string TerminalText(std::string text) {
  for (char& c : text) {
    if (c == '\r') c = '\n';
  }
  return text;
}

}  // namespace zrv::cli
