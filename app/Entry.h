#pragma once
// The login step of the program's start, for the window program and the command
// line alike.

#include <optional>
#include <string>
#include <vector>

#include "app/Session.h"

namespace zrv {

// The application name and database alias the program logs in with.
inline constexpr const char* kLoginAppName = "Imot";
inline constexpr const char* kLoginAlias = "prop_db";

// What the programs say when the login library refuses the login.
inline constexpr char kLoginRefused[] = "Входът е отказан.";

// How the login ended: the session when it was accepted; else, when the
// library tells, why it was refused (empty when the user cancelled).
struct LoginOutcome {
  std::optional<SessionValues> session;
  std::optional<std::string> problem;
  explicit operator bool() const { return session.has_value(); }
};

// Logs the user in with the program's parameters (without the program name):
// exactly two parameters are a user name and a password for a login without
// dialog (each cut to its first 50 characters); anything else asks the user.
// Without a session the login was refused or cancelled, and the caller ends
// the process. Throws zrv::Error when the login library is missing or a
// parameter cannot be written in Windows-1251.
LoginOutcome LoginFromParameters(const std::vector<std::string>& parameters);

// The same with the library file given (tests load their own libraries).
LoginOutcome LoginFromParameters(const std::vector<std::string>& parameters,
                                 const std::string& libraryFile);

}  // namespace zrv
