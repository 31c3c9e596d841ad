#include "app/AppUsers.h"

#include "app/store/UserStore.h"
#include "common/Error.h"
#include "common/Text.h"
#include "platform/db/Transaction.h"

namespace zrv::app {

namespace {

constexpr size_t kLongestName = 31;  // the server's longest user name
const char* const kBadName =
    "Името на потребител е латинска буква, последвана от до 30 латински "
    "букви, цифри и \"_\": ";
const char* const kNameTaken = "Потребителят вече съществува: ";

bool IsLatinLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The user among `users` whose name is `name` in any letter case; the login
// library compares names the same way.
std::optional<AppUser> NamedUser(const std::vector<AppUser>& users, const std::string& name) {
  const std::string wanted = UpperCase(Trim(name));
  for (const AppUser& user : users) {
    if (UpperCase(user.name) == wanted) return user;
  }
  return std::nullopt;
}

}  // namespace

std::string UserNameProblem(const std::string& name) {
  bool fits = !name.empty() && name.size() <= kLongestName && IsLatinLetter(name[0]);
  for (char c : name) {
    fits = fits && (IsLatinLetter(c) || (c >= '0' && c <= '9') || c == '_');
  }
  return fits ? std::string() : kBadName + name;
}

std::vector<AppUser> ListAppUsers(db::Connection& db) {
  db::OwnTransaction transaction(db);
  std::vector<AppUser> users = UserStore(transaction.Get()).List();
  transaction.Commit();
  return users;
}

std::optional<AppUser> FindAppUser(db::Connection& db, const std::string& name) {
  return NamedUser(ListAppUsers(db), name);
}

int32_t AddAppUser(db::Connection& db, const std::string& name) {
  db::OwnTransaction transaction(db);
  const UserStore store(transaction.Get());
  if (const auto taken = NamedUser(store.List(), name))
    throw Error(kNameTaken + taken->name + " (№ " + std::to_string(taken->id) + ")");
  const int32_t id = store.NextId();
  store.Insert(id, name);
  transaction.Commit();
  return id;
}

void RemoveAppUser(db::Connection& db, const AppUser& user) {
  db::OwnTransaction transaction(db);
  UserStore(transaction.Get()).Delete(user.id);
  transaction.Commit();
}

std::optional<std::set<std::string>> ServerUserNames(db::Connection& db) {
  db::OwnTransaction transaction(db);
  const UserStore store(transaction.Get());
  try {
    if (!store.SeesServerUsers()) return std::nullopt;
  } catch (const db::ConnectionLostError&) {
    throw;
  } catch (const db::DbError&) {
    // No security database to ask (the embedded engine): nothing to list.
    return std::nullopt;
  }
  std::set<std::string> names;
  for (const std::string& name : store.ServerUserNames()) names.insert(UpperCase(name));
  transaction.Commit();
  return names;
}

void CreateServerUser(db::Connection& db, const std::string& name, const std::string& password) {
  db::OwnTransaction transaction(db);
  UserStore(transaction.Get()).CreateServerUser(name, password);
  transaction.Commit();
}

void DropServerUser(db::Connection& db, const std::string& name) {
  db::OwnTransaction transaction(db);
  UserStore(transaction.Get()).DropServerUser(name);
  transaction.Commit();
}

}  // namespace zrv::app
