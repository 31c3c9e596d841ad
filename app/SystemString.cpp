#include "app/SystemString.h"

#include "app/store/SettingStore.h"
#include "common/Error.h"
#include "common/Text.h"
#include "platform/db/Transaction.h"

namespace zrv::app {

namespace {
const char kNotInitialized[] = "uSettingsConstants: Database not initialized.";
}  // namespace

db::Connection& SystemString::Database() const {
  if (!connection_) throw Error(kNotInitialized);
  return *connection_;
}

std::string SystemString::GetSystemStr(int32_t key, const std::string& text) const {
  db::Connection& connection = Database();
  try {
    db::OwnTransaction transaction(connection);
    const std::optional<std::string> stored = SettingStore(transaction.Get()).Read(key);
    transaction.Commit();
    return stored.value_or(std::string());
  } catch (const db::DbError&) {
    // A setting that cannot be read leaves the caller's text as it was.
    return text;
  }
}

void SystemString::SetSystemStr(int32_t key, const std::string& text) const {
  db::Connection& connection = Database();
  try {
    db::OwnTransaction transaction(connection);
    SettingStore(transaction.Get()).Write(key, text);
    transaction.Commit();
  } catch (const db::DbError&) {
    // The rollback restored the table; a setting that cannot be written is not
    // an error.
  }
}

int32_t SystemString::GetSystemInt(int32_t key, int32_t defaultValue) const {
  int32_t value = 0;
  if (TryParseInt(GetSystemStr(key, ""), value)) return value;
  SetSystemInt(key, defaultValue);
  return defaultValue;
}

void SystemString::SetSystemInt(int32_t key, int32_t value) const {
  SetSystemStr(key, std::to_string(value));
}

int32_t SystemString::ReadSystemInt(int32_t key, int32_t defaultValue) const {
  int32_t value = 0;
  return TryParseInt(GetSystemStr(key, ""), value) ? value : defaultValue;
}

}  // namespace zrv::app
