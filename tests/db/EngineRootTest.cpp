// Where the Firebird installation's root is found when the program runs: the
// user's FIREBIRD, the client library's place in Firebird's and Debian's
// layouts, a private folder of ours, and the packages' folders, on folders the
// test lays out.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/db/firebird/FbEngineRoot.h"
#include "tests/support/TestDatabase.h"

namespace zrv::db::fb {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& file, const std::string& text = "") {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text;
}

TEST(EngineRoot, FoundInTheOrderOfItsClues) {
  const fs::path t = test::MakeTempFolder();
  Touch(t / "user/firebird.conf");
  Touch(t / "opt/firebird.conf");
  Touch(t / "opt/lib/libfbclient.so.2");
  Touch(t / "usr/lib/libfbclient.so.3.0.11");
  Touch(t / "usr/lib/firebird/3.0/firebird.conf");
  fs::create_directories(t / "links");
  fs::create_symlink(t / "usr/lib/libfbclient.so.3.0.11", t / "links/libfbclient.so.2");
  Touch(t / "pkg/firebird.conf");
  Touch(t / "zorvit-firebird-7/firebird.conf", PrivateConfigText(t / "user"));

  struct Case {
    const char* what;
    std::string firebird;
    fs::path library;
    std::vector<fs::path> packages;
    std::optional<fs::path> root;
  };
  const std::vector<Case> cases = {
      {"the user's FIREBIRD first",
       (t / "user").string(),
       t / "opt/lib/libfbclient.so.2",
       {t / "pkg"},
       t / "user"},
      {"a private folder stands for the root it mirrors",
       (t / "zorvit-firebird-7/").string(),
       t / "opt/lib/libfbclient.so.2",
       {},
       t / "user"},
      {"Firebird's layout: ROOT/lib", "", t / "opt/lib/libfbclient.so.2", {t / "pkg"}, t / "opt"},
      {"Debian's layout: LIBDIR/firebird/VERSION",
       "",
       t / "usr/lib/libfbclient.so.3.0.11",
       {t / "pkg"},
       t / "usr/lib/firebird/3.0"},
      {"a linked library: the folder of its real file",
       "",
       t / "links/libfbclient.so.2",
       {},
       t / "usr/lib/firebird/3.0"},
      {"a FIREBIRD without firebird.conf, no library: the packages",
       (t / "none").string(),
       "",
       {t / "none", t / "pkg"},
       t / "pkg"},
      {"nothing anywhere",
       (t / "none").string(),
       t / "none/libfbclient.so.2",
       {t / "none"},
       std::nullopt},
  };
  for (const Case& c : cases) {
    EngineRootClues clues{c.firebird, c.library, "3.0", c.packages};
    EXPECT_EQ(FindEngineRoot(clues), c.root) << c.what;
  }
  fs::remove_all(t);
}

}  // namespace
}  // namespace zrv::db::fb
