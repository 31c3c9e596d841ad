#pragma once
// The four entry points of the login library, with C linkage, as the program
// binds them by name and the library exports them, and an optional fifth of our
// own. Booleans are one byte, zero for false; texts are null-terminated
// Windows-1251 unless said otherwise.

#include <cstdint>

#include "platform/login/LoginRecord.h"

namespace zrv {

// Names under which the library exports its entry points.
inline constexpr const char* kSetClientNamesName = "SetClientNames";
inline constexpr const char* kExternalLoginName = "ExternalLogin";
inline constexpr const char* kGetUserRightsName = "GetUserRights";
inline constexpr const char* kGetAppUsersListName = "GetAppUsersList";
// Optional, ours: why the last ExternalLogin refused.
inline constexpr const char* kGetLoginProblemName = "GetLoginProblem";

extern "C" {
using SetClientNamesFn = void (*)(const char* first, const char* second);
using ExternalLoginFn = uint8_t (*)(void* parentWindow, const char* appName, const char* alias,
                                    uint8_t interactive, uint8_t secondFlag, TLogInfoRec* record);
// `list` points at the program's pointer to the first element of a list of
// RightsCount (UsersCount) elements, allocated and zero-filled by the program.
using GetUserRightsFn = void (*)(TUserRights** list);
using GetAppUsersListFn = void (*)(TUsersInfo** list);
// Writes into text (size bytes, null-terminated, cut when longer) in UTF-8 the
// reason the last ExternalLogin was refused, for a window to show; empty after
// an accepted login and after the user cancelled. A library without it tells
// no reason.
using GetLoginProblemFn = void (*)(char* text, int32_t size);
}

}  // namespace zrv
