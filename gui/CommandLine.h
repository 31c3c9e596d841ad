#pragma once
// The window program's command line: the login's parameters, a workbook given
// by the desktop's "Open with", or a request for the help text or the version.

#include <optional>
#include <string>
#include <vector>

namespace zrv::ui {

// The help text of zorvit-import (--help); the manual page is made from it.
extern const char* const kWindowHelp;

struct WindowStart {
  enum class Action { kRun, kHelp, kVersion, kBadOption };
  Action action = Action::kRun;
  // What the login takes: two parameters are a user name and a password,
  // none asks the user.
  std::vector<std::string> loginParameters;
  // The workbook the first run reads instead of asking with the file dialog,
  // as an absolute path.
  std::optional<std::string> workbook;
  // --database PATH or --database=PATH, anywhere among the parameters.
  std::optional<std::string> database;
  // Why the command line was refused (kBadOption).
  std::string problem;
};

// Reads the program's parameters (without the program's name):
//   --database PATH                 the database (taken out first, wherever
//                                   it stands; without PATH: kBadOption);
//   --help, -h or --version alone   the help text or the version;
//   FILE                            an existing file: the workbook, and the
//                                   login asks the user;
//   USER PASSWORD                   the login without a dialog (whatever they
//                                   name);
//   USER PASSWORD FILE              both, when FILE is an existing file.
// Anything else is handed to the login as it is, which then asks the user.
WindowStart ReadWindowStart(const std::vector<std::string>& parameters);

}  // namespace zrv::ui
