#pragma once
// The settings both programs (`zorvit` and the window `zorvit-import`) start
// from. They come, each later one winning, from
//   1. /etc/zorvit/zorvit.conf                 (the machine's administrator)
//   2. $XDG_CONFIG_HOME/zorvit/zorvit.conf     (the user; ~/.config when
//                                               XDG_CONFIG_HOME is not set)
//   3. the environment: ZRV_ and the key in capitals, "-" written "_"
//      (ZRV_DATABASE, ZRV_FIRST_ROW, ...)
//   4. the command line: the option of the same name (--database, ...).
// A file holds lines "key = value"; blank lines and lines whose first
// character other than a blank is "#" say nothing. A key is the name of the
// option it gives the default of, so an option added later needs only its
// line in the table of keys (app/SettingKeys.cpp).

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/Error.h"

namespace zrv::app {

// A setting that cannot be used, named with its file and line or its
// environment variable: `zorvit` ends with exit code 2 as for a bad option,
// the window shows it in a box.
class SettingsError : public Error {
 public:
  using Error::Error;
};

// Checked values by key ("database", "first-row", ...).
using SettingValues = std::map<std::string, std::string>;

// Where settings are read from: the files in the order read (a missing file
// says nothing), and the environment's look-up (nullptr: not set).
struct SettingSources {
  std::vector<std::string> files;
  std::function<const char*(const char* name)> environment;
};

// The machine's file, the user's file and the process's environment.
SettingSources DefaultSettingSources();

// The settings of files and environment, later sources winning. Throws
// SettingsError for a line that is not "key = value", an unknown key, a bad
// value, or a file that exists and cannot be read.
SettingValues ReadSettings(const SettingSources& sources);

// One file's text into `values`; `source` names it in errors.
void ReadSettingsText(std::string_view text, const std::string& source, SettingValues& values);

// The environment variable of a key: "first-row" gives ZRV_FIRST_ROW.
std::string SettingVariable(const std::string& key);

// Hands the chosen database and wait limit to the login library and the
// connection, which read them from the environment ($ZRV_DATABASE,
// $ZRV_WAIT_LIMIT).
void UseConnectionSettings(const SettingValues& values);

}  // namespace zrv::app
