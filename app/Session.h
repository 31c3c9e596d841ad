#pragma once
// What a successful login leaves: where the database is and who logged in.
// The login step gives it to the program, which hands it to what needs it (the
// database start-up, every operation that stamps the user on a stored row).

#include <cstdint>
#include <string>

#include "platform/login/LoginRecord.h"

namespace zrv {

struct SessionValues {
  std::string serverName;  // database server and path, as the library gave it
  std::string userName;
  std::string password;
  int32_t currentUserID = 0;
};

// Takes server, user name, password and user id from a filled login record.
SessionValues SessionFromLogInfo(const TLogInfoRec& record);

}  // namespace zrv
