#pragma once
// The ways the login library asks the user for a user name and password.

#include <string>

namespace zrv::login {

struct Credentials {
  std::string userName;
  std::string password;
};

// True when the host program runs a Qt application, so a dialog can be shown.
bool HaveQtApplication();

// A modal dialog with user name, password, OK and Cancel; `problem` (when not
// empty) tells why the last attempt failed. False when the user cancels.
bool AskInDialog(Credentials& credentials, const std::string& problem);

// Asks on the controlling terminal (/dev/tty), the password without echo. False
// on end of input, or when the process has no terminal.
bool AskOnTerminal(Credentials& credentials, const std::string& problem);

}  // namespace zrv::login
