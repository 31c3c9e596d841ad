#include "app/Session.h"

#include "contracts/AppIdentifier.h"

namespace zrv {

SessionValues& Session() {
  static SessionValues values;
  return values;
}

int32_t CurrentUserID() { return Session().currentUserID; }

int32_t AppID() { return kAppID; }

TLogInfoRec& LogInfo() {
  static TLogInfoRec record{};
  return record;
}

LoginLists& LogInfoLists() {
  static LoginLists lists;
  return lists;
}

void SetSessionFromLogInfo(const TLogInfoRec& record) {
  SessionValues& values = Session();
  values.serverName = GetShortString(record.ServerName);
  values.userName = GetShortString(record.UserName);
  values.password = GetShortString(record.Password);
  values.currentUserID = record.UserID;
}

}  // namespace zrv
