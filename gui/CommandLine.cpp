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
    "  -h, --help     показва този текст\n"
    "      --version  показва версията\n"
    "\n"
    "Базата данни е $ZRV_DATABASE, иначе ~/.local/share/zorvit/zorvit.fdb.\n"
    "Командата zorvit прави същото импортиране от командния ред.\n";

namespace {

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

WindowStart ReadWindowStart(const std::vector<std::string>& parameters) {
  WindowStart start;
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
