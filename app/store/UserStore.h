#pragma once
// The statements of the clerks' rows in app_users (the next id also reads
// documents.doc_userid and payment.p_userid) and of the server's users
// (sec$users, CREATE USER, DROP USER), in a transaction the caller gives.

#include <cstdint>
#include <string>
#include <vector>

#include "app/AppUsers.h"
#include "platform/db/Database.h"

namespace zrv::app {

class UserStore {
 public:
  explicit UserStore(db::Transaction& tx) : tx_(tx) {}

  // Every row of app_users by id, the names trimmed.
  std::vector<AppUser> List() const;
  // One past every id of app_users and every user id stored with a contract
  // or a payment.
  int32_t NextId() const;
  // Adds the row (id, name).
  void Insert(int32_t id, const std::string& name) const;
  // Removes the row whose id is `id`.
  void Delete(int32_t id) const;

  // True when the transaction's user sees every server user (SYSDBA, or an
  // administrator of the server). DbError where there is no security
  // database to ask (the embedded engine).
  bool SeesServerUsers() const;
  // The names of the server's users, trimmed, as the server keeps them.
  std::vector<std::string> ServerUserNames() const;
  // CREATE USER ... USING PLUGIN Srp: the server makes the user when the
  // transaction commits. `name` must be a plain name (UserNameProblem);
  // the password goes in quoted.
  void CreateServerUser(const std::string& name, const std::string& password) const;
  // DROP USER ... USING PLUGIN Srp; `name` as for CreateServerUser.
  void DropServerUser(const std::string& name) const;

 private:
  db::Transaction& tx_;
};

}  // namespace zrv::app
