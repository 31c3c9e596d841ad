#include "app/store/UserStore.h"

#include <memory>

#include "common/Text.h"
#include "platform/db/Firebird.h"

namespace zrv::app {
namespace {

const char* const kSelectUsers = "SELECT user_id, user_name FROM app_users ORDER BY user_id";
// The ids in use: app_users, and those stored with contracts and payments.
const char* const kNextId =
    "SELECT MAXVALUE(COALESCE((SELECT MAX(user_id) FROM app_users), 0),\n"
    " COALESCE((SELECT MAX(doc_userid) FROM documents), 0),\n"
    " COALESCE((SELECT MAX(p_userid) FROM payment), 0)) + 1\n"
    "FROM rdb$database";
const char* const kInsertUser = "INSERT INTO app_users (user_id, user_name) VALUES (:id, :name)";
const char* const kDeleteUser = "DELETE FROM app_users WHERE user_id = :id";
// Whether the caller sees every server user: SYSDBA, or an administrator.
const char* const kIsServerAdmin =
    "SELECT COUNT(*) FROM sec$users\n"
    "WHERE sec$user_name = CURRENT_USER\n"
    " AND (CURRENT_USER = 'SYSDBA' OR sec$admin)";
const char* const kServerUsers = "SELECT sec$user_name FROM sec$users";
// Run as written: user statements take no parameters.
const char* const kCreateUser = "CREATE USER %s PASSWORD '%s' USING PLUGIN Srp";
const char* const kDropUser = "DROP USER %s USING PLUGIN Srp";

// A text inside single quotes, its quotes written twice.
std::string QuotedText(const std::string& text) {
  std::string quoted;
  for (char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted;
}

}  // namespace

std::vector<AppUser> UserStore::List() const {
  std::vector<AppUser> users;
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectUsers);
  query->Open();
  for (; !query->Eof(); query->Next()) {
    users.push_back({query->FieldAt(0).AsInteger(), Trim(query->FieldAt(1).AsString())});
  }
  return users;
}

int32_t UserStore::NextId() const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kNextId);
  query->Open();
  return query->FieldAt(0).AsInteger();
}

void UserStore::Insert(int32_t id, const std::string& name) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kInsertUser);
  query->SetInteger("id", id);
  query->SetString("name", name);
  query->Execute();
}

void UserStore::Delete(int32_t id) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kDeleteUser);
  query->SetInteger("id", id);
  query->Execute();
}

bool UserStore::SeesServerUsers() const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kIsServerAdmin);
  query->Open();
  return query->FieldAt(0).AsInteger() != 0;
}

std::vector<std::string> UserStore::ServerUserNames() const {
  std::vector<std::string> names;
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kServerUsers);
  query->Open();
  for (; !query->Eof(); query->Next()) names.push_back(Trim(query->FieldAt(0).AsString()));
  return names;
}

void UserStore::CreateServerUser(const std::string& name, const std::string& password) const {
  db::ExecuteRaw(tx_, Format(kCreateUser, name.c_str(), QuotedText(password).c_str()));
}

void UserStore::DropServerUser(const std::string& name) const {
  db::ExecuteRaw(tx_, Format(kDropUser, name.c_str()));
}

}  // namespace zrv::app
