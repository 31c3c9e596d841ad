// zorvit user add NAME [--password-file FILE], zorvit user list, zorvit user
// remove NAME: the clerks who may log in. They work as the database's
// administrator, named by ISC_USER and ISC_PASSWORD as for `db init` (else
// SYSDBA, whom the embedded engine trusts).
//
// On a Firebird server a clerk is a server user (the server checks the
// password) and a row of app_users (the login looks the name up there). `user
// add` with a password makes both in one transaction, so that a server that
// refuses the user (the caller may not create users, the user exists) leaves
// no row either; without a password it adds the row for a server user that
// exists already. `user remove` removes the row and, when the caller may, the
// server user. On an embedded database a clerk is the row alone.

#include <iostream>
#include <set>

#include "app/AppUsers.h"
#include "app/DatabaseSetup.h"
#include "cli/Command.h"
#include "cli/ConnectOptions.h"
#include "common/Error.h"
#include "common/Text.h"
#include "platform/db/Transaction.h"
#include "platform/login/DatabaseLocation.h"

namespace zrv::cli {

namespace {

constexpr const char* kAdded = "Добавен е потребител %s (№ %d)";
constexpr const char* kWithServerUser = " и потребител %s на сървъра.\n";
constexpr const char* kRowOnly =
    ". Потребител на сървъра не е създаден (няма --password-file): той трябва "
    "да съществува, за да влезе.\n";
constexpr const char* kEmbeddedPassword =
    "Вградената база данни не проверява пароли: паролата не е записана.\n";
constexpr const char* kServerRefused =
    "Сървърът не създаде потребителя (вече го има, или ISC_USER не е "
    "администратор на сървъра); нищо не е добавено.\n";
constexpr const char* kEmptyPassword = "Паролата във файла е празна: ";
constexpr const char* kRemoved = "Премахнат е потребител %s (№ %d)";
constexpr const char* kServerUserRemoved = " и потребителят му на сървъра.\n";
constexpr const char* kServerUserKept =
    ". Потребителят на сървъра остава: само администратор на сървъра го "
    "премахва.\n";
constexpr const char* kNoSuchUser = "Няма потребител ";
constexpr const char* kListHeading = "№\tпотребител";
constexpr const char* kServerColumn = "\tна сървъра";
constexpr const char* kYes = "да";
constexpr const char* kNo = "няма";
constexpr const char* kNoUsers = "(няма потребители)";

struct Admin {
  std::string path;
  bool server = false;
  std::unique_ptr<db::Connection> connection;
};

Admin ConnectAsAdministrator(const ParsedArgs& args) {
  UseDatabaseOption(args);
  Admin admin;
  admin.path = login::DefaultDatabasePath();
  admin.server = login::IsServerDatabase(admin.path);
  const db::ConnectParams params = app::AdministratorParams(admin.path);
  admin.connection = Connect({admin.path, params.userName, params.password});
  return admin;
}

std::string NameOperand(const ParsedArgs& args) {
  const std::string name = args.Operands()[0];
  const std::string problem = app::UserNameProblem(name);
  if (!problem.empty()) throw UsageError(problem);
  return name;
}

int RunUserAdd(const ParsedArgs& args) {
  const std::string name = NameOperand(args);
  std::optional<std::string> password;
  if (args.Has("password-file")) {
    password = PasswordFromFile(args.Value("password-file"));
    if (password->empty()) throw UsageError(kEmptyPassword + args.Value("password-file"));
  }
  Admin admin = ConnectAsAdministrator(args);
  db::Connection& db = *admin.connection;
  db::OwnTransaction transaction(db);
  const int32_t id = app::AddAppUser(db, name);
  const bool serverUser = admin.server && password;
  try {
    if (serverUser) app::CreateServerUser(db, name, *password);
    transaction.Commit();
  } catch (const db::DbError& e) {
    if (!serverUser) throw;
    throw Error(kServerRefused + std::string(e.what()));
  }

  std::cout << Format(kAdded, name.c_str(), id);
  if (serverUser)
    std::cout << Format(kWithServerUser, UpperCase(name).c_str());
  else
    std::cout << (admin.server ? kRowOnly : ".\n");
  if (!admin.server && password) std::cerr << kEmbeddedPassword;
  return kExitOk;
}

int RunUserList(const ParsedArgs& args) {
  Admin admin = ConnectAsAdministrator(args);
  db::Connection& db = *admin.connection;
  const std::vector<app::AppUser> users = app::ListAppUsers(db);
  const auto serverUsers =
      admin.server ? app::ServerUserNames(db) : std::optional<std::set<std::string>>();
  std::cout << kListHeading << (serverUsers ? kServerColumn : "") << "\n";
  for (const app::AppUser& user : users) {
    std::cout << user.id << "\t" << user.name;
    if (serverUsers) std::cout << "\t" << (serverUsers->count(UpperCase(user.name)) ? kYes : kNo);
    std::cout << "\n";
  }
  if (users.empty()) std::cout << kNoUsers << "\n";
  return kExitOk;
}

int RunUserRemove(const ParsedArgs& args) {
  // Any row can go, also one added by hand under a name the rule refuses.
  const std::string name = args.Operands()[0];
  Admin admin = ConnectAsAdministrator(args);
  db::Connection& db = *admin.connection;
  db::OwnTransaction transaction(db);
  const std::optional<app::AppUser> user = app::FindAppUser(db, name);
  if (!user) {
    std::cerr << kNoSuchUser << name << std::endl;
    return kExitFailed;
  }
  app::RemoveAppUser(db, *user);
  const auto serverUsers =
      admin.server ? app::ServerUserNames(db) : std::optional<std::set<std::string>>();
  const bool dropServerUser = serverUsers && serverUsers->count(UpperCase(user->name)) > 0 &&
                              app::UserNameProblem(user->name).empty();
  if (dropServerUser) app::DropServerUser(db, user->name);
  transaction.Commit();

  std::cout << Format(kRemoved, user->name.c_str(), user->id);
  if (dropServerUser)
    std::cout << kServerUserRemoved;
  else
    std::cout << (admin.server && !serverUsers ? kServerUserKept : ".\n");
  return kExitOk;
}

const char kAdminNote[] =
    "Работи като администратора на базата данни: ISC_USER и ISC_PASSWORD "
    "(иначе SYSDBA, на когото вградената база данни вярва).\n";

const CommandRegistration kUserAdd{
    {.words = {"user", "add"},
     .operands = "ИМЕ",
     .minOperands = 1,
     .maxOperands = 1,
     .summary = "добавя служител: ред в app_users, а на сървър и потребител "
                "на сървъра с паролата от --password-file",
     .options = {{"password-file", "ФАЙЛ",
                  "паролата на новия потребител е първият ред на файла "
                  "(/dev/stdin: от входа)"}},
     .details = kAdminNote,
     .run = &RunUserAdd}};

const CommandRegistration kUserList{
    {.words = {"user", "list"},
     .summary = "изброява служителите (app_users) и дали имат потребител на "
                "сървъра",
     .details = kAdminNote,
     .run = &RunUserList}};

const CommandRegistration kUserRemove{{.words = {"user", "remove"},
                                       .operands = "ИМЕ",
                                       .minOperands = 1,
                                       .maxOperands = 1,
                                       .summary =
                                           "премахва служител: реда в app_users и потребителя на "
                                           "сървъра (договорите му остават с номера му)",
                                       .details = kAdminNote,
                                       .run = &RunUserRemove}};

}  // namespace

}  // namespace zrv::cli
