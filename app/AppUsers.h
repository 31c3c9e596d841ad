#pragma once
// The clerks who may log in: the rows of app_users, and on a Firebird server
// the server's users of the same names (the server checks their passwords;
// the login library then looks the name up in app_users).

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/db/Database.h"

namespace zrv::app {

struct AppUser {
  int32_t id = 0;
  std::string name;
};

// Why `name` cannot be a clerk's name (Bulgarian), empty when it can: a Latin
// letter, then up to 30 Latin letters, digits and "_". A server keeps such a
// name in capitals and takes it in any letter case at login, as the login
// library compares names; the same rule on an embedded database lets the
// database move to a server later.
std::string UserNameProblem(const std::string& name);

// Every row of app_users, by id.
std::vector<AppUser> ListAppUsers(db::Connection& db);

// The row whose name is `name` in any letter case.
std::optional<AppUser> FindAppUser(db::Connection& db, const std::string& name);

// Adds the row in the open transaction (or one of its own) and returns its id:
// one past every id of app_users and every user id stored with a contract or
// a payment, so that a new clerk never takes over the contracts of a removed
// one. Throws zrv::Error when the name is there already in any letter case.
int32_t AddAppUser(db::Connection& db, const std::string& name);

// Removes the row of `user` (its id stays on the contracts it stored).
void RemoveAppUser(db::Connection& db, const AppUser& user);

// The server's users, in capitals, when the connection's user may see them
// all (SYSDBA or an administrator of the server); nullopt otherwise, and on
// the embedded engine.
std::optional<std::set<std::string>> ServerUserNames(db::Connection& db);

// CREATE USER ... USING PLUGIN Srp, in the open transaction (or one of its
// own): the server makes the user when the transaction commits. `name` must
// have passed UserNameProblem. Database errors (the caller may not create
// users, the user exists) travel on.
void CreateServerUser(db::Connection& db, const std::string& name, const std::string& password);

// DROP USER ... USING PLUGIN Srp, in the open transaction (or one of its own).
void DropServerUser(db::Connection& db, const std::string& name);

}  // namespace zrv::app
