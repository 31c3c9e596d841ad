#pragma once
// The database options of the commands that work on a stored database:
//   --database PATH   ("path" or "host:/path"; default $ZRV_DATABASE, else the
//   user's database)
//   --user NAME       (default SYSDBA, whom the embedded engine trusts)
//   --password TEXT   (default empty; a server checks it)

#include <memory>
#include <string>

#include "cli/Command.h"
#include "platform/db/Database.h"

namespace zrv::cli {

struct ConnectOptions {
  std::string path;
  std::string user;
  std::string password;
};

// Takes the three options out of args, filling in the defaults.
ConnectOptions TakeConnectOptions(Args& args);

// Opens a connection. Throws zrv::Error with the connection error text when the
// database cannot be opened.
std::unique_ptr<db::Connection> Connect(const ConnectOptions& options);

}  // namespace zrv::cli
