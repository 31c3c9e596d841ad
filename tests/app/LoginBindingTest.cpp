// The login binding against stand-in login libraries built with the tests.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/Entry.h"
#include "app/LoginBinding.h"
#include "app/Session.h"
#include "common/Error.h"
#include "contracts/AppIdentifier.h"
#include "tests/support/TestDatabase.h"

namespace zrv {
namespace {

const std::string kFakeDir = ZRV_FAKE_LOGIN_DIR;
const std::string kFull = kFakeDir + "/fake_login_full.so";
const std::string kWithoutLogin = kFakeDir + "/fake_login_without_login.so";
const std::string kLoginOnly = kFakeDir + "/fake_login_only.so";

// Sets the stand-in library's behaviour and collects the calls it logs.
class LoginBindingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = test::MakeTempFolder();
    log_ = folder_ + "/calls.log";
    setenv("FAKE_LOGIN_LOG", log_.c_str(), 1);
    Behave(false, 0, 0);
    unsetenv("FAKE_LOGIN_THROW");
    ClearLogInfo(record_);
  }
  void TearDown() override {
    unsetenv("FAKE_LOGIN_LOG");
    std::filesystem::remove_all(folder_);
  }

  void Behave(bool accept, int rights, int users) {
    setenv("FAKE_LOGIN_RESULT", accept ? "1" : "0", 1);
    setenv("FAKE_LOGIN_RIGHTS", std::to_string(rights).c_str(), 1);
    setenv("FAKE_LOGIN_USERS", std::to_string(users).c_str(), 1);
  }

  std::string Calls() const {
    std::ifstream in(log_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  bool Login(const std::string& library, bool interactive = false) {
    return LoginWithLibrary(library, "Imot", "prop_db", interactive, true, record_, lists_);
  }

  static bool StillLoaded(const std::string& library) {
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle) dlclose(handle);
    return handle != nullptr;
  }

  std::string folder_;
  std::string log_;
  TLogInfoRec record_{};
  LoginLists lists_;
};

TEST_F(LoginBindingTest, AcceptedLoginWithoutListsMakesNoListCall) {
  Behave(true, 0, 0);
  EXPECT_TRUE(Login(kFull));
  EXPECT_EQ(Calls(),
            "SetClientNames null null\n"
            "ExternalLogin Imot prop_db 0 1 user= password=\n");
  EXPECT_EQ(record_.UserID, 42);
  EXPECT_TRUE(lists_.rights.empty());
  EXPECT_TRUE(lists_.users.empty());
  EXPECT_FALSE(StillLoaded(kFull));
}

TEST_F(LoginBindingTest, RefusedLoginStillFetchesTheReportedLists) {
  Behave(false, 3, 2);
  EXPECT_FALSE(Login(kFull, true));
  EXPECT_EQ(Calls(),
            "SetClientNames null null\n"
            "ExternalLogin Imot prop_db 1 1 user= password=\n"
            "GetUserRights 3\n"
            "GetAppUsersList 2\n");
  // The lists have the reported sizes and the library reached every element.
  ASSERT_EQ(lists_.rights.size(), 3u);
  ASSERT_EQ(lists_.users.size(), 2u);
  EXPECT_EQ(lists_.rights[2].data[254], 3);
  EXPECT_EQ(lists_.rights[0].data[0], 0);  // zero-filled
  EXPECT_EQ(lists_.users[1].data[107], 2);
}

TEST_F(LoginBindingTest, OnlyTheListWithEntriesIsFetched) {
  Behave(true, 0, 1);
  EXPECT_TRUE(Login(kFull));
  EXPECT_EQ(Calls().find("GetUserRights"), std::string::npos);
  EXPECT_NE(Calls().find("GetAppUsersList 1"), std::string::npos);
}

TEST_F(LoginBindingTest, MissingEntryPoints) {
  // Without ExternalLogin the login is refused and nothing is called.
  EXPECT_FALSE(Login(kWithoutLogin));
  EXPECT_EQ(Calls(), "");
  // Without SetClientNames and the list calls, positive counts still size the
  // lists.
  Behave(true, 2, 2);
  EXPECT_TRUE(Login(kLoginOnly));
  EXPECT_EQ(Calls(), "ExternalLogin Imot prop_db 0 1 user= password=\n");
  EXPECT_EQ(lists_.rights.size(), 2u);
}

TEST_F(LoginBindingTest, MissingLibraryNamesTheFile) {
  try {
    Login(folder_ + "/libZrvLogin.so");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Missing libZrvLogin.so.");
  }
}

TEST_F(LoginBindingTest, LibraryIsUnloadedWhenTheLoginThrows) {
  setenv("FAKE_LOGIN_THROW", "1", 1);
  EXPECT_THROW(Login(kFull), std::exception);
  EXPECT_FALSE(StillLoaded(kFull));
}

// The entry: two parameters give a login without dialog, anything else the
// interactive one.

std::string Repeat(const std::string& text, int count) {
  std::string result;
  for (int i = 0; i < count; ++i) result += text;
  return result;
}

TEST_F(LoginBindingTest, TwoParametersAreCutToFiftyCharacters) {
  Behave(true, 0, 0);
  // 60 Cyrillic letters are 120 bytes of UTF-8; 50 of them reach the library as
  // Windows-1251.
  const LoginOutcome login = LoginFromParameters({Repeat("ж", 60), Repeat("p", 60)}, kFull);
  ASSERT_TRUE(login);
  EXPECT_EQ(Calls(), "SetClientNames null null\nExternalLogin Imot prop_db 0 1 user=" +
                         Repeat("E6", 50) + " password=" + Repeat("70", 50) + "\n");
  EXPECT_EQ(login.session->userName, Repeat("ж", 50));
  EXPECT_EQ(login.session->serverName, "fakehost:/db/ПРОБА.fdb");
  EXPECT_EQ(login.session->currentUserID, 42);
  EXPECT_EQ(kAppID, 1);
}

TEST_F(LoginBindingTest, OtherParameterCountsLogInInteractively) {
  Behave(false, 0, 0);
  for (const std::vector<std::string>& parameters :
       {std::vector<std::string>{}, {"demo"}, {"demo", "secret", "third"}}) {
    std::filesystem::remove(log_);
    EXPECT_FALSE(LoginFromParameters(parameters, kFull));
    EXPECT_EQ(Calls(),
              "SetClientNames null null\nExternalLogin Imot prop_db 1 1 user= "
              "password=\n");
  }
}

TEST_F(LoginBindingTest, ParametersWindows1251CannotHoldAreAnError) {
  EXPECT_THROW(LoginFromParameters({"日本", "x"}, kFull), Error);
  EXPECT_THROW(LoginFromParameters({"demo", std::string("\xFF")}, kFull), Error);
  EXPECT_EQ(Calls(), "");
}

TEST(LoginRecord, ShortStringsReadSafely) {
  TLogInfoRec record{};
  record.UserName.length = 200;  // a broken library claiming more than the field holds
  std::memset(record.UserName.chars, 'a', sizeof record.UserName.chars);
  EXPECT_EQ(GetShortString(record.UserName), std::string(50, 'a'));
}

}  // namespace
}  // namespace zrv
