// A stand-in login library for the binding tests. Its behaviour comes from the
// environment:
//   FAKE_LOGIN_RESULT  "1" to accept the login (default refuse)
//   FAKE_LOGIN_RIGHTS, FAKE_LOGIN_USERS  counts it reports (default 0)
//   FAKE_LOGIN_THROW   "1" to throw from ExternalLogin
//   FAKE_LOGIN_LOG     file to which every call appends one line
// Built three ways: with every entry point, without ExternalLogin
// (FAKE_WITHOUT_LOGIN) and with ExternalLogin only (FAKE_LOGIN_ONLY).

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "platform/login/LoginEntryPoints.h"

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {

int EnvInt(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::atoi(value) : 0;
}

void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Log(const char* format, ...) {
  const char* path = std::getenv("FAKE_LOGIN_LOG");
  if (!path) return;
  FILE* file = std::fopen(path, "a");
  if (!file) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(file, format, args);
  va_end(args);
  std::fputc('\n', file);
  std::fclose(file);
}

// The bytes of a short string in hex, so Windows-1251 text reaches the test
// unchanged.
[[maybe_unused]] void Hex(const uint8_t* field, char* out) {
  const int length = field[0];
  for (int i = 0; i < length; ++i) std::sprintf(out + 2 * i, "%02X", field[1 + i]);
  out[2 * length] = 0;
}

[[maybe_unused]] void FillShort(uint8_t* field, const char* text) {
  field[0] = static_cast<uint8_t>(std::strlen(text));
  std::memcpy(field + 1, text, field[0]);
}

}  // namespace

#if !defined(FAKE_LOGIN_ONLY)
EXPORT void SetClientNames(const char* first, const char* second) {
  Log("SetClientNames %s %s", first ? first : "null", second ? second : "null");
}
#endif

#if !defined(FAKE_WITHOUT_LOGIN)
EXPORT uint8_t ExternalLogin(void*, const char* appName, const char* alias, uint8_t interactive,
                             uint8_t secondFlag, zrv::TLogInfoRec* record) {
  char user[2 * 255 + 1], password[2 * 255 + 1];
  Hex(&record->UserName.length, user);
  Hex(&record->Password.length, password);
  Log("ExternalLogin %s %s %d %d user=%s password=%s", appName, alias, interactive, secondFlag,
      user, password);
  if (EnvInt("FAKE_LOGIN_THROW")) throw std::runtime_error("fake login failed");
  record->RightsCount = EnvInt("FAKE_LOGIN_RIGHTS");
  record->UsersCount = EnvInt("FAKE_LOGIN_USERS");
  if (!EnvInt("FAKE_LOGIN_RESULT")) return 0;
  FillShort(&record->ServerName.length,
            "fakehost:/db/\xCF\xD0\xCE\xC1\xC0.fdb");  // ПРОБА
  record->UserID = 42;
  return 1;
}
#endif

#if !defined(FAKE_LOGIN_ONLY)
// Each element is marked with its position, so the test sees the whole list was
// reached.
EXPORT void GetUserRights(zrv::TUserRights** list) {
  const int count = EnvInt("FAKE_LOGIN_RIGHTS");
  Log("GetUserRights %d", count);
  for (int i = 0; i < count; ++i) (*list)[i].data[254] = static_cast<uint8_t>(i + 1);
}

EXPORT void GetAppUsersList(zrv::TUsersInfo** list) {
  const int count = EnvInt("FAKE_LOGIN_USERS");
  Log("GetAppUsersList %d", count);
  for (int i = 0; i < count; ++i) (*list)[i].data[107] = static_cast<uint8_t>(i + 1);
}
#endif
