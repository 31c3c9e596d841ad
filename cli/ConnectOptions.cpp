#include "cli/ConnectOptions.h"

#include "app/DatabaseConnection.h"
#include "common/Error.h"
#include "platform/db/Firebird.h"
#include "platform/login/DatabaseLocation.h"

namespace zrv::cli {

namespace {
constexpr const char* kDefaultUser = "SYSDBA";
}  // namespace

ConnectOptions TakeConnectOptions(Args& args) {
  ConnectOptions o{"", kDefaultUser, ""};
  if (!TakeOption(args, "--database", o.path))
    o.path = login::DefaultDatabasePath();
  TakeOption(args, "--user", o.user);
  TakeOption(args, "--password", o.password);
  return o;
}

std::unique_ptr<db::Connection> Connect(const ConnectOptions& options) {
  auto connection = db::MakeFirebirdConnection();
  std::string errorText;
  if (!app::ConnectDatabase(*connection, options.user, options.password,
                            options.path, errorText)) {
    throw Error(TerminalText(errorText));
  }
  return connection;
}

}  // namespace zrv::cli
