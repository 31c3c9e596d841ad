// libZrvLogin.so: the login library. It decides where the database is, checks
// the user against it and fills the login record. Exported with C linkage under
// the names the program binds.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <type_traits>

#include "common/Text.h"
#include "platform/db/Firebird.h"
#include "platform/login/DatabaseLocation.h"
#include "platform/login/LoginEntryPoints.h"
#include "platform/login/LoginRecord.h"
#include "platform/login/Prompts.h"
#include "platform/login/UserCheck.h"

#define ZRV_LOGIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace zrv::login {

namespace {

// Attempts the interactive login gives the user before it counts as refused.
constexpr int kAttempts = 3;

// Why the last login was refused (GetLoginProblem); empty otherwise.
std::string& LastProblem() {
  static std::string problem;
  return problem;
}

bool Ask(Credentials& credentials, const std::string& problem) {
  return HaveQtApplication() ? AskInDialog(credentials, problem)
                             : AskOnTerminal(credentials, problem);
}

const char* const kBadServerName =
    "Пътят до базата данни не се побира в 255 знака от кодова таблица "
    "Windows-1251: ";
const char* const kBadText =
    "Потребителят и паролата трябва да са с букви от кодова таблица "
    "Windows-1251.";

constexpr size_t kServerNameLength = sizeof(TLogInfoRec::ServerName.chars);
constexpr size_t kNameLength = sizeof(TLogInfoRec::UserName.chars);

bool FitsShortString(const std::string& text, size_t capacity) {
  std::string bytes;
  return Utf8Length(text) <= capacity && TryUtf8ToCp1251(text, bytes);
}

// Checks the user against the database and, when accepted, fills the record.
// The names are cut to what the record holds before the check, so the record
// carries what was checked.
bool Accept(TLogInfoRec& record, const std::string& serverName, Credentials credentials,
            std::string& problem) {
  credentials.userName = Utf8Left(credentials.userName, kNameLength);
  credentials.password = Utf8Left(credentials.password, kNameLength);
  if (!FitsShortString(credentials.userName, kNameLength) ||
      !FitsShortString(credentials.password, kNameLength)) {
    problem = kBadText;
    return false;
  }
  int32_t userId = 0;
  if (!CheckUser(serverName, credentials.userName, credentials.password, userId, problem)) {
    return false;
  }
  SetShortString(record.ServerName, serverName, "database path");
  SetShortString(record.UserName, credentials.userName, "user name");
  SetShortString(record.Password, credentials.password, "password");
  record.UserID = userId;
  return true;
}

bool LogIn(bool interactive, TLogInfoRec& record) {
  // The program that loaded the library tells the user when database files
  // cannot be shared: its own first connection meets the same problem.
  db::SetEngineModeReport(nullptr);
  record.UsersCount = 0;
  record.RightsCount = 0;
  const std::string serverName = login::DefaultDatabasePath();
  // A path cut to fit the record would name another database: refuse it
  // instead.
  std::string& problem = LastProblem();
  problem.clear();
  if (!FitsShortString(serverName, kServerNameLength)) {
    problem = kBadServerName + serverName;
    std::fprintf(stderr, "%s\n", problem.c_str());
    return false;
  }
  if (!interactive) {
    const Credentials given{GetShortString(record.UserName), GetShortString(record.Password)};
    if (Accept(record, serverName, given, problem)) return true;
    // Nobody is asked in this mode, so the reason goes to the error output.
    std::fprintf(stderr, "%s\n", problem.c_str());
    return false;
  }
  Credentials credentials;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (!Ask(credentials, problem)) {
      // Cancelled: the user has seen any earlier reason in the dialog.
      problem.clear();
      return false;
    }
    if (Accept(record, serverName, credentials, problem)) {
      problem.clear();
      return true;
    }
  }
  return false;
}

}  // namespace

}  // namespace zrv::login

ZRV_LOGIN_EXPORT void SetClientNames(const char*, const char*) {}

ZRV_LOGIN_EXPORT uint8_t ExternalLogin(void* /*parentWindow*/, const char* /*appName*/,
                                       const char* /*alias*/, uint8_t interactive,
                                       uint8_t /*secondFlag*/, zrv::TLogInfoRec* record) {
  if (!record) return 0;
  // Nothing may escape across the C boundary: any failure is a refused login.
  try {
    return zrv::login::LogIn(interactive != 0, *record) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

// This library reports no rights and no users, so the program never asks for
// the lists.
ZRV_LOGIN_EXPORT void GetUserRights(zrv::TUserRights**) {}
ZRV_LOGIN_EXPORT void GetAppUsersList(zrv::TUsersInfo**) {}

ZRV_LOGIN_EXPORT void GetLoginProblem(char* text, int32_t size) {
  if (!text || size <= 0) return;
  const std::string& problem = zrv::login::LastProblem();
  size_t bytes = std::min(problem.size(), static_cast<size_t>(size) - 1);
  // A cut text ends before a character, not inside one.
  while (bytes < problem.size() && bytes > 0 &&
         (static_cast<unsigned char>(problem[bytes]) & 0xC0) == 0x80)
    --bytes;
  std::memcpy(text, problem.data(), bytes);
  text[bytes] = '\0';
}

// The exported functions must have the types the program binds them with.
static_assert(std::is_same_v<decltype(&ExternalLogin), zrv::ExternalLoginFn>);
static_assert(std::is_same_v<decltype(&SetClientNames), zrv::SetClientNamesFn>);
static_assert(std::is_same_v<decltype(&GetUserRights), zrv::GetUserRightsFn>);
static_assert(std::is_same_v<decltype(&GetAppUsersList), zrv::GetAppUsersListFn>);
static_assert(std::is_same_v<decltype(&GetLoginProblem), zrv::GetLoginProblemFn>);
