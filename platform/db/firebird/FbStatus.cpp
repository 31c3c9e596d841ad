#include "platform/db/firebird/FbStatus.h"

#include "platform/db/Database.h"

namespace zrv::db::fb {

std::string StatusMessage(const ISC_STATUS* status) {
  std::string message;
  const ISC_STATUS* cursor = status;
  char line[1024];
  while (fb_interpret(line, sizeof line, &cursor) > 0) {
    if (!message.empty()) message += '\n';
    message += line;
  }
  if (message.empty())
    message = "Unknown database error (" + std::to_string(status[1]) + ").";
  return message;
}

void Check(const ISC_STATUS* status) {
  if (status[0] == 1 && status[1] != 0) throw DbError(StatusMessage(status));
}

}  // namespace zrv::db::fb
