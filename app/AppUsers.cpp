#include "app/AppUsers.h"

#include <cctype>

#include "common/Error.h"
#include "common/Text.h"
#include "platform/db/Firebird.h"
#include "platform/db/Transaction.h"

namespace zrv::app {

namespace {

const char* const kSelectUsers =
    "SELECT user_id, user_name FROM app_users ORDER BY user_id";
// The ids in use: app_users, and those stored with contracts and payments.
const char* const kNextId =
    "SELECT MAXVALUE(COALESCE((SELECT MAX(user_id) FROM app_users), 0),\n"
    " COALESCE((SELECT MAX(doc_userid) FROM documents), 0),\n"
    " COALESCE((SELECT MAX(p_userid) FROM payment), 0)) + 1\n"
    "FROM rdb$database";
const char* const kInsertUser =
    "INSERT INTO app_users (user_id, user_name) VALUES (:id, :name)";
const char* const kDeleteUser = "DELETE FROM app_users WHERE user_id = :id";
// Whether the caller sees every server user: SYSDBA, or an administrator.
const char* const kIsServerAdmin =
    "SELECT COUNT(*) FROM sec$users\n"
    "WHERE sec$user_name = CURRENT_USER\n"
    " AND (CURRENT_USER = 'SYSDBA' OR sec$admin)";
const char* const kServerUsers = "SELECT sec$user_name FROM sec$users";
const char* const kCreateUser = "CREATE USER %s PASSWORD '%s' USING PLUGIN Srp";
const char* const kDropUser = "DROP USER %s USING PLUGIN Srp";

constexpr size_t kLongestName = 31;  // the server's longest user name
const char* const kBadName =
    "Името на потребител е латинска буква, последвана от до 30 латински "
    "букви, цифри и \"_\": ";
const char* const kNameTaken = "Потребителят вече съществува: ";

bool IsLatinLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A text inside single quotes, its quotes written twice.
std::string QuotedText(const std::string& text) {
  std::string quoted;
  for (char c : text)
    quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted;
}

}  // namespace

std::string UserNameProblem(const std::string& name) {
  bool fits =
      !name.empty() && name.size() <= kLongestName && IsLatinLetter(name[0]);
  for (char c : name) {
    fits = fits && (IsLatinLetter(c) || (c >= '0' && c <= '9') || c == '_');
  }
  return fits ? std::string() : kBadName + name;
}

std::vector<AppUser> ListAppUsers(db::Connection& db) {
  std::vector<AppUser> users;
  auto query = db.NewQuery();
  query->SetSQL(kSelectUsers);
  query->Open();
  for (; !query->Eof(); query->Next()) {
    users.push_back(
        {query->FieldAt(0).AsInteger(), Trim(query->FieldAt(1).AsString())});
  }
  return users;
}

std::optional<AppUser> FindAppUser(db::Connection& db,
                                   const std::string& name) {
  // The login library compares names the same way.
  const std::string wanted = UpperCase(Trim(name));
  for (const AppUser& user : ListAppUsers(db)) {
    if (UpperCase(user.name) == wanted) return user;
  }
  return std::nullopt;
}

int32_t AddAppUser(db::Connection& db, const std::string& name) {
  db::OwnTransaction transaction(db);
  if (const auto taken = FindAppUser(db, name))
    throw Error(kNameTaken + taken->name + " (№ " + std::to_string(taken->id) +
                ")");
  auto query = db.NewQuery();
  query->SetSQL(kNextId);
  query->Open();
  const int32_t id = query->FieldAt(0).AsInteger();
  query->SetSQL(kInsertUser);
  query->SetInteger("id", id);
  query->SetString("name", name);
  query->Execute();
  transaction.Commit();
  return id;
}

void RemoveAppUser(db::Connection& db, const AppUser& user) {
  auto query = db.NewQuery();
  query->SetSQL(kDeleteUser);
  query->SetInteger("id", user.id);
  query->Execute();
}

std::optional<std::set<std::string>> ServerUserNames(db::Connection& db) {
  auto query = db.NewQuery();
  try {
    query->SetSQL(kIsServerAdmin);
    query->Open();
    if (query->FieldAt(0).AsInteger() == 0) return std::nullopt;
  } catch (const db::ConnectionLostError&) {
    throw;
  } catch (const db::DbError&) {
    // No security database to ask (the embedded engine): nothing to list.
    return std::nullopt;
  }
  std::set<std::string> names;
  query->SetSQL(kServerUsers);
  query->Open();
  for (; !query->Eof(); query->Next())
    names.insert(UpperCase(Trim(query->FieldAt(0).AsString())));
  return names;
}

void CreateServerUser(db::Connection& db, const std::string& name,
                      const std::string& password) {
  db::ExecuteRaw(
      db, Format(kCreateUser, name.c_str(), QuotedText(password).c_str()));
}

void DropServerUser(db::Connection& db, const std::string& name) {
  db::ExecuteRaw(db, Format(kDropUser, name.c_str()));
}

}  // namespace zrv::app
