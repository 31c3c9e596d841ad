// The settings files and the environment: the later source wins, and a line
// or value that cannot be used is named with its file and line.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "app/Settings.h"
#include "tests/support/TestDatabase.h"

namespace zrv::app {
namespace {

TEST(Settings, LaterSourcesWinAndMistakesAreNamed) {
  const std::string folder = test::MakeTempFolder();
  const std::string system = folder + "/system.conf";
  const std::string user = folder + "/user.conf";
  struct Case {
    std::string systemText;  // "" : no file
    std::string userText;
    std::map<std::string, std::string> environment;
    std::map<std::string, std::string> expected;
    std::string error;  // a part of the error, when one is expected
  };
  const std::vector<Case> cases = {
      {"", "", {}, {}, ""},
      {"database = /srv/a.fdb\nfirst-row = 3\n",
       "",
       {},
       {{"database", "/srv/a.fdb"}, {"first-row", "3"}},
       ""},
      {"database = /srv/a.fdb\nfirst-row=3\n",
       "# mine\n\n  database =  server:/b.fdb  \n",
       {},
       {{"database", "server:/b.fdb"}, {"first-row", "3"}},
       ""},
      {"database = /srv/a.fdb\n",
       "database = /home/b.fdb\n",
       {{"ZRV_DATABASE", "/env/c.fdb"}, {"ZRV_MUNICIPALITY", "Бяла"}},
       {{"database", "/env/c.fdb"}, {"municipality", "Бяла"}},
       ""},
      {"", "database = x.fdb\n", {{"ZRV_DATABASE", ""}}, {{"database", "x.fdb"}}, ""},
      {"\xEF\xBB\xBFwait-limit = 3600\r\nlog-dir = " + folder + "\r\n",
       "",
       {},
       {{"wait-limit", "3600"}, {"log-dir", folder}},
       ""},
      {"", "database = a\ncolour = blue\n", {}, {}, "user.conf:2: непознат ключ „colour“"},
      {"first-row = 0\n",
       "",
       {},
       {},
       "system.conf:1: first-row: иска номер на ред от 1 до 1048576: 0"},
      {"",
       "\nwait-limit = 3601\n",
       {},
       {},
       "user.conf:2: wait-limit: иска цял брой секунди от 1 до 3600"},
      {"", "wait-limit = 1.5\n", {}, {}, "user.conf:1: wait-limit"},
      {"log-dir = " + folder + "/none\n", "", {}, {}, "system.conf:1: log-dir: не е папка"},
      {"database\n", "", {}, {}, "system.conf:1: редът не е „ключ = стойност“"},
      {"municipality =\n", "", {}, {}, "system.conf:1: municipality: липсва стойност"},
      {"", "", {{"ZRV_FIRST_ROW", "две"}}, {}, "ZRV_FIRST_ROW: first-row: иска номер на ред"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(system);
    std::filesystem::remove(user);
    if (!c.systemText.empty()) std::ofstream(system) << c.systemText;
    if (!c.userText.empty()) std::ofstream(user) << c.userText;
    const SettingSources sources{{system, user}, [&c](const char* name) -> const char* {
                                   const auto found = c.environment.find(name);
                                   return found == c.environment.end() ? nullptr
                                                                       : found->second.c_str();
                                 }};
    const std::string name = c.systemText + "|" + c.userText;
    try {
      const SettingValues values = ReadSettings(sources);
      EXPECT_EQ(c.error, "") << name;
      EXPECT_EQ(values, c.expected) << name;
    } catch (const SettingsError& e) {
      EXPECT_NE(c.error, "") << name << e.what();
      EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << name << e.what();
    }
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zrv::app
