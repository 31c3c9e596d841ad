#pragma once
// The login library's check of a user against the property database.

#include <cstdint>
#include <string>

namespace zrv::login {

// Attaches to the database at `serverName` with the user name and password (a
// Firebird server checks the password; the embedded engine trusts the local
// user) and looks the user up in app_users by name, without regard to letter
// case. True and the user's id when both succeed; false with a reason for the
// user in `problem` otherwise.
bool CheckUser(const std::string& serverName, const std::string& userName,
               const std::string& password, int32_t& userId, std::string& problem);

}  // namespace zrv::login
