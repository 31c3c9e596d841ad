#pragma once
// The login options of the commands that work on a stored database, and the
// database they name:
//   --user NAME            (default SYSDBA, whom the embedded engine trusts)
//   --password TEXT        (visible to other users of the machine: prefer
//   --password-file FILE    the first line of a file, or $ZRV_PASSWORD)
//   --database PATH        (a common option; default the settings' database
//                           or $ZRV_DATABASE, else the user's database)
//   --wait-limit SECONDS   (a common option; default the settings' wait-limit
//                           or $ZRV_WAIT_LIMIT, else 30)

#include <memory>
#include <optional>
#include <string>

#include "cli/Options.h"
#include "platform/db/Database.h"

namespace zrv::cli {

// --user, --password and --password-file, for a command's option table.
const OptionTable& LoginOptions();

// A command's own options after the login options.
OptionTable WithLoginOptions(const OptionTable& own);

// The first line of a password file (without its line end). Throws
// zrv::Error when the file cannot be read.
std::string PasswordFromFile(const std::string& path);

// The password given: --password, else the first line of --password-file,
// else $ZRV_PASSWORD; nullopt when none is. Throws UsageError when both
// options are given, zrv::Error when the file cannot be read.
std::optional<std::string> GivenPassword(const ParsedArgs& args);

// Makes --database, when given, the database of this process (the login
// library and the default path read $ZRV_DATABASE), and --wait-limit its wait
// limit ($ZRV_WAIT_LIMIT). Throws UsageError for a wait limit, given or set,
// that is no number of seconds from 1 to 3600.
void UseDatabaseOption(const ParsedArgs& args);

struct ConnectOptions {
  std::string path;
  std::string user;
  std::string password;
};

// The options with their defaults filled in.
ConnectOptions ReadConnectOptions(const ParsedArgs& args);

// Opens a connection. Throws zrv::Error with the connection error text when the
// database cannot be opened.
std::unique_ptr<db::Connection> Connect(const ConnectOptions& options);

}  // namespace zrv::cli
