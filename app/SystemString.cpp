#include "app/SystemString.h"

#include "common/Error.h"
#include "common/Text.h"
#include "platform/db/Transaction.h"

namespace zrv::app {

namespace {

const char kNotInitialized[] = "uSettingsConstants: Database not initialized.";
const char kSelect[] =
    "select sys_str from system_strings where sys_id = :sys_id";
const char kDelete[] = "delete from system_strings where sys_id = :sys_id";
const char kInsert[] =
    "insert into system_strings (sys_id, sys_str) values (:sys_id, :sys_str)";

}  // namespace

db::Connection* SystemString::connection_ = nullptr;

void SystemString::Register(db::Connection* connection) {
  connection_ = connection;
}

db::Connection& SystemString::Database() {
  if (!connection_) throw Error(kNotInitialized);
  return *connection_;
}

std::string SystemString::GetSystemStr(int32_t key, const std::string& text) {
  db::Connection& connection = Database();
  try {
    db::OwnTransaction transaction(connection);
    auto query = connection.NewQuery();
    query->SetSQL(kSelect);
    query->SetInteger("sys_id", key);
    query->Open();
    std::string stored = query->FieldByName("sys_str").AsString();
    query->Close();
    transaction.Commit();
    return stored;
  } catch (const db::DbError&) {
    // A setting that cannot be read leaves the caller's text as it was.
    return text;
  }
}

void SystemString::SetSystemStr(int32_t key, const std::string& text) {
  db::Connection& connection = Database();
  try {
    db::OwnTransaction transaction(connection);
    auto query = connection.NewQuery();
    query->SetSQL(kDelete);
    query->SetInteger("sys_id", key);
    query->Execute();
    query->SetSQL(kInsert);
    query->SetInteger("sys_id", key);
    query->SetString("sys_str", text);
    query->Execute();
    transaction.Commit();
  } catch (const db::DbError&) {
    // The rollback restored the table; a setting that cannot be written is not
    // an error.
  }
}

int32_t SystemString::GetSystemInt(int32_t key, int32_t defaultValue) {
  int32_t value = 0;
  if (TryParseInt(GetSystemStr(key, ""), value)) return value;
  SetSystemInt(key, defaultValue);
  return defaultValue;
}

void SystemString::SetSystemInt(int32_t key, int32_t value) {
  SetSystemStr(key, std::to_string(value));
}

}  // namespace zrv::app
