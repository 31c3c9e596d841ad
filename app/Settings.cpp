#include "app/Settings.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/SettingKeys.h"
#include "common/SystemErrorText.h"
#include "common/Text.h"
#include "platform/db/Firebird.h"
#include "platform/login/DatabaseLocation.h"

namespace zrv::app {

namespace {

constexpr const char* kSystemFile = "/etc/zorvit/zorvit.conf";
constexpr const char* kUserFile = "zorvit/zorvit.conf";
constexpr const char* kNoEquals = "редът не е „ключ = стойност“";
constexpr const char* kUnknownKey = "непознат ключ ";
constexpr const char* kCannotRead = "Файлът с настройки не може да се прочете: ";
constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";
constexpr const char* kVariablePrefix = "ZRV_";

std::string UserFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && *config) return config;
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.config";
}

// Checks and keeps one value; `where` names its file and line or its variable.
void Keep(const std::string& key, const std::string& value, const std::string& where,
          SettingValues& values) {
  if (!IsSettingKey(key)) throw SettingsError(where + ": " + kUnknownKey + "„" + key + "“");
  const std::string problem = SettingProblem(key, value);
  if (!problem.empty()) throw SettingsError(where + ": " + key + ": " + problem);
  values[key] = value;
}

void ReadFile(const std::string& path, SettingValues& values) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return;
  std::ifstream in(path, std::ios::binary);
  // A folder opens as a file would, and reads nothing.
  if (!in || std::filesystem::is_directory(path, error))
    throw SettingsError(kCannotRead + path + " (" + SystemErrorText(in ? EISDIR : errno) + ")");
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw SettingsError(kCannotRead + path + " (" + SystemErrorText(errno) + ")");
  ReadSettingsText(text.str(), path, values);
}

}  // namespace

SettingSources DefaultSettingSources() {
  return {{kSystemFile, UserFolder() + "/" + kUserFile},
          [](const char* name) { return std::getenv(name); }};
}

void ReadSettingsText(std::string_view text, const std::string& source, SettingValues& values) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(3);
  int number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string line(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    const std::string content = Trim(line);
    if (content.empty() || content[0] == '#') continue;
    const std::string where = source + ":" + std::to_string(number);
    const size_t equals = content.find('=');
    if (equals == std::string::npos) throw SettingsError(where + ": " + kNoEquals);
    Keep(Trim(content.substr(0, equals)), Trim(content.substr(equals + 1)), where, values);
  }
}

std::string SettingVariable(const std::string& key) {
  std::string name = kVariablePrefix;
  for (const char c : key)
    name += c == '-' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

SettingValues ReadSettings(const SettingSources& sources) {
  SettingValues values;
  for (const std::string& file : sources.files) ReadFile(file, values);
  if (sources.environment) {
    for (const std::string& key : SettingKeyNames()) {
      const std::string variable = SettingVariable(key);
      const char* value = sources.environment(variable.c_str());
      // An empty variable is one not set, as ZRV_DATABASE always was.
      if (value && *value) Keep(key, value, variable, values);
    }
  }
  return values;
}

void UseConnectionSettings(const SettingValues& values) {
  const auto database = values.find("database");
  if (database != values.end()) setenv(login::kDatabaseEnvVar, database->second.c_str(), 1);
  const auto waitLimit = values.find("wait-limit");
  if (waitLimit != values.end()) setenv(db::kWaitLimitEnvVar, waitLimit->second.c_str(), 1);
}

}  // namespace zrv::app
