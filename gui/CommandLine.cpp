#include "gui/CommandLine.h"

#include <filesystem>
#include <system_error>

namespace zrv::ui {

const char* const kWindowHelp =
    "Употреба: zorvit-import [ПОТРЕБИТЕЛ ПАРОЛА] [РАБОТНА_КНИГА]\n"
    "Отваря прозореца за импортиране на договори за наем от работна книга "
    "(.xls, .xlsx, .ods) в базата данни на имотите.\n"
    "\n"
    "С ПОТРЕБИТЕЛ и ПАРОЛА влиза без диалог; без тях пита за тях.\n"
    "С РАБОТНА_КНИГА (съществуващ файл; така я подава \"Отвори с\" на "
    "работния плот) първото натискане на \"Чети\" чете нея, без да пита за "
    "файл; общината и първия ред се въвеждат както винаги.\n"
    "\n"
    "Опции:\n"
    "      --database ПЪТ  базата данни (\"път\" или \"сървър:/път\")\n"
    "  -h, --help          показва този текст\n"
    "      --version       показва версията\n"
    "\n"
    "Базата данни е от --database, иначе от $ZRV_DATABASE, иначе от файла с "
    "настройки ($XDG_CONFIG_HOME/zorvit/zorvit.conf, после "
    "/etc/zorvit/zorvit.conf), иначе ~/.local/share/zorvit/zorvit.fdb. "
    "Общината и първият ред идват от същите настройки (municipality, "
    "first-row), папката на лог файла от log-dir.\n"
    "Командата zorvit прави същото импортиране от командния ред.\n";

namespace {

constexpr const char* kDatabaseOption = "--database";
constexpr const char* kNeedsValue = "--database изисква стойност";

bool IsFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

std::string Absolute(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.string();
}

}  // namespace

WindowStart ReadWindowStart(const std::vector<std::string>& given) {
  WindowStart start;
  std::vector<std::string> parameters;
  const std::string withValue = std::string(kDatabaseOption) + "=";
  for (size_t i = 0; i < given.size(); ++i) {
    if (given[i] == kDatabaseOption) {
      if (i + 1 == given.size()) {
        start.action = WindowStart::Action::kBadOption;
        start.problem = kNeedsValue;
        return start;
      }
      start.database = given[++i];
    } else if (given[i].starts_with(withValue)) {
      start.database = given[i].substr(withValue.size());
    } else {
      parameters.push_back(given[i]);
    }
  }
  if (parameters.size() == 1) {
    const std::string& only = parameters[0];
    if (only == "--help" || only == "-h") {
      start.action = WindowStart::Action::kHelp;
      return start;
    }
    if (only == "--version") {
      start.action = WindowStart::Action::kVersion;
      return start;
    }
    if (IsFile(only)) {
      start.workbook = Absolute(only);
      return start;
    }
  }
  if (parameters.size() == 3 && IsFile(parameters[2])) {
    start.loginParameters.assign(parameters.begin(), parameters.begin() + 2);
    start.workbook = Absolute(parameters[2]);
    return start;
  }
  start.loginParameters = parameters;
  return start;
}

}  // namespace zrv::ui
