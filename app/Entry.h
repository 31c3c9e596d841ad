#pragma once
// The login step of the program's start, for the window program and the command
// line alike.

#include <string>
#include <vector>

namespace zrv {

// The application name and database alias the program logs in with.
inline constexpr const char* kLoginAppName = "Imot";
inline constexpr const char* kLoginAlias = "prop_db";

// What the programs say when the login library refuses the login.
inline constexpr char kLoginRefused[] = "Входът е отказан.";

// Logs the user in with the program's parameters (without the program name):
// exactly two parameters are a user name and a password for a login without
// dialog (each cut to its first 50 characters); anything else asks the user. On
// success the process-wide session values are set and true is returned; false
// means the login was refused or cancelled (LogInfoLists().problem says why,
// when the library tells), and the caller ends the process. Throws zrv::Error
// when the login library is missing or a parameter cannot be written in
// Windows-1251.
bool LoginFromParameters(const std::vector<std::string>& parameters);

// The same with the library file given (tests load their own libraries).
bool LoginFromParameters(const std::vector<std::string>& parameters,
                         const std::string& libraryFile);

}  // namespace zrv
