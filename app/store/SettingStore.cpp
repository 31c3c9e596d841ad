#include "app/store/SettingStore.h"

#include <memory>

namespace zrv::app {
namespace {

const char kSelect[] = "select sys_str from system_strings where sys_id = :sys_id";
const char kDelete[] = "delete from system_strings where sys_id = :sys_id";
const char kInsert[] = "insert into system_strings (sys_id, sys_str) values (:sys_id, :sys_str)";

}  // namespace

std::optional<std::string> SettingStore::Read(int32_t key) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelect);
  query->SetInteger("sys_id", key);
  query->Open();
  if (query->Eof()) return std::nullopt;
  return query->FieldByName("sys_str").AsString();
}

void SettingStore::Write(int32_t key, const std::string& text) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kDelete);
  query->SetInteger("sys_id", key);
  query->Execute();
  query->SetSQL(kInsert);
  query->SetInteger("sys_id", key);
  query->SetString("sys_str", text);
  query->Execute();
}

}  // namespace zrv::app
