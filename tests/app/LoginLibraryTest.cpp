// The real login library against a fresh property database (user "demo", id 1).

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/LoginBinding.h"
#include "app/LoginRecord.h"
#include "tests/support/TestDatabase.h"

namespace zrv {
namespace {

class LoginLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* previous = std::getenv("ZRV_DATABASE");
    saved_ = previous ? previous : "";
    hadValue_ = previous != nullptr;
    setenv("ZRV_DATABASE", database_.Path().c_str(), 1);
  }
  void TearDown() override {
    if (hadValue_) {
      setenv("ZRV_DATABASE", saved_.c_str(), 1);
    } else {
      unsetenv("ZRV_DATABASE");
    }
  }

  // A login without dialog through libZrvLogin.so found beside the test program.
  bool LogIn(const std::string& user, const std::string& password) {
    ClearLogInfo(record_);
    SetShortString(record_.UserName, user, "user name");
    SetShortString(record_.Password, password, "password");
    return Login("Imot", "prop_db", false, true, record_, lists_);
  }

  test::TestDatabase database_;
  std::string saved_;
  bool hadValue_ = false;
  TLogInfoRec record_{};
  LoginLists lists_;
};

TEST_F(LoginLibraryTest, KnownUserIsAcceptedWithTheDatabaseAndId) {
  ASSERT_TRUE(LogIn("demo", "any"));
  EXPECT_EQ(record_.UserID, 1);
  EXPECT_EQ(GetShortString(record_.ServerName), database_.Path());
  EXPECT_EQ(GetShortString(record_.UserName), "demo");
  EXPECT_EQ(GetShortString(record_.Password), "any");
  EXPECT_EQ(record_.UsersCount, 0);
  EXPECT_EQ(record_.RightsCount, 0);
}

TEST_F(LoginLibraryTest, UserNamesCompareWithoutLetterCase) {
  database_.Exec("INSERT INTO app_users (user_id, user_name) VALUES (7, 'Ivan')");
  ASSERT_TRUE(LogIn("IVAN", "x"));
  EXPECT_EQ(record_.UserID, 7);
  ASSERT_TRUE(LogIn("DEMO", "x"));
  EXPECT_EQ(record_.UserID, 1);
}

TEST_F(LoginLibraryTest, UnknownUserOrMissingDatabaseIsRefused) {
  EXPECT_FALSE(LogIn("nobody", "x"));
  EXPECT_EQ(record_.UserID, 0);
  EXPECT_EQ(GetShortString(record_.ServerName), "");

  setenv("ZRV_DATABASE", (database_.Path() + ".missing").c_str(), 1);
  EXPECT_FALSE(LogIn("demo", "x"));
}

}  // namespace
}  // namespace zrv
