#pragma once
// What an import run works with, built once by the program's start-up
// (app/RunStartup) and handed to the run: the open connection, the user whose
// id is stamped on every new contract, and the settings read at start-up.
// Nothing of it is process-wide: two runs on two connections do not share any
// of it.

#include <cstdint>
#include <string>

#include "platform/db/Database.h"
#include "schedule/store/DocInfoSettings.h"

namespace zrv::import {

struct RunContext {
  db::Connection& connection;  // connected; must outlive the run
  int32_t userId = 0;          // the logged-in user's id
  std::string userName = {};   // and name, for the run history
  schedule::DocInfoSettings scheduleSettings = {};
};

}  // namespace zrv::import
