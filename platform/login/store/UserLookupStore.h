#pragma once
// The login library's statement on app_users (the clerks' rows), in a
// transaction the caller gives.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/db/Database.h"

namespace zrv::login {

class UserLookupStore {
 public:
  explicit UserLookupStore(db::Transaction& tx) : tx_(tx) {}

  // The user_id of the first app_users row whose user_name, trimmed, is
  // `userName` trimmed, without regard to letter case; nothing when no row is.
  std::optional<int32_t> FindUserId(const std::string& userName) const;

 private:
  db::Transaction& tx_;
};

}  // namespace zrv::login
