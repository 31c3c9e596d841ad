#include "app/SettingKeys.h"

#include <filesystem>
#include <system_error>

#include "common/Text.h"
#include "platform/workbook/CellAddress.h"

namespace zrv::app {

namespace {

constexpr const char* kEmpty = "липсва стойност";
constexpr const char* kBadRow = "иска номер на ред от 1 до ";
constexpr const char* kBadSeconds = "иска цял брой секунди от 1 до ";
constexpr const char* kNoFolder = "не е папка: ";

// The longest a statement or an attach may go unanswered: an hour.
constexpr int32_t kMaxWaitSeconds = 3600;

std::string Text(const std::string& value) { return value.empty() ? kEmpty : ""; }

std::string WholeNumber(const std::string& value, int32_t most, const char* problem) {
  int32_t number = 0;
  if (TryParseInt(value, number) && number >= 1 && number <= most) return "";
  return problem + std::to_string(most) + ": " + value;
}

std::string RowNumber(const std::string& value) {
  return WholeNumber(value, workbook::kMaxRows, kBadRow);
}

std::string Seconds(const std::string& value) {
  return WholeNumber(value, kMaxWaitSeconds, kBadSeconds);
}

std::string Folder(const std::string& value) {
  std::error_code error;
  if (!value.empty() && std::filesystem::is_directory(value, error)) return "";
  return kNoFolder + value;
}

struct Key {
  const char* name;
  std::string (*check)(const std::string& value);
};

// One line per key; the key is also the name of the command's option whose
// default it gives.
const Key kKeys[] = {
    {"database", &Text},        // "path" or "server:/path"
    {"log-dir", &Folder},       // where the import's log files go
    {"municipality", &Text},    // the municipality the import starts with
    {"first-row", &RowNumber},  // the first row of data in the sheet
    {"wait-limit", &Seconds},   // seconds a statement or an attach may wait
};

const Key* Find(const std::string& key) {
  for (const Key& k : kKeys) {
    if (key == k.name) return &k;
  }
  return nullptr;
}

}  // namespace

std::vector<std::string> SettingKeyNames() {
  std::vector<std::string> names;
  for (const Key& k : kKeys) names.push_back(k.name);
  return names;
}

bool IsSettingKey(const std::string& key) { return Find(key) != nullptr; }

std::string SettingProblem(const std::string& key, const std::string& value) {
  const Key* found = Find(key);
  return found ? found->check(value) : std::string();
}

}  // namespace zrv::app
