#pragma once
// The process-wide values a successful login leaves: where the database is, who
// logged in, and the identifier of this application. Set once by the entry
// before any window exists; read by the database start-up and by every
// operation that stamps the user on a stored row.

#include <cstdint>
#include <string>

#include "app/LoginBinding.h"
#include "platform/login/LoginRecord.h"

namespace zrv {

struct SessionValues {
  std::string
      serverName;  // database server and path, as the login library gave it
  std::string userName;
  std::string password;
  int32_t currentUserID = 0;
};

// The values of the current process (empty until the login succeeded).
SessionValues& Session();

// The id of the logged-in user, written with every stored contract.
int32_t CurrentUserID();

// The application identifier (1), written to the rows this program adds.
int32_t AppID();

// The login record of the process and the lists the login library filled; they
// live until the process ends.
TLogInfoRec& LogInfo();
LoginLists& LogInfoLists();

// Takes server, user name, password and user id from a filled login record.
void SetSessionFromLogInfo(const TLogInfoRec& record);

}  // namespace zrv
