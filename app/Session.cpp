#include "app/Session.h"

namespace zrv {

SessionValues SessionFromLogInfo(const TLogInfoRec& record) {
  SessionValues values;
  values.serverName = GetShortString(record.ServerName);
  values.userName = GetShortString(record.UserName);
  values.password = GetShortString(record.Password);
  values.currentUserID = record.UserID;
  return values;
}

}  // namespace zrv
