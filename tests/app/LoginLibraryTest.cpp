// The real login library against a fresh property database (user "demo", id 1).

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <functional>

#include "app/LoginBinding.h"
#include "platform/login/LoginRecord.h"
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

  // A login without dialog through libZrvLogin.so found beside the test
  // program.
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

// With a Qt application running, the interactive login shows the dialog.
// `answer` plays the user: it gets the dialog's two fields and its button box,
// and is called again for every dialog shown.
class LoginDialogTest : public LoginLibraryTest {
 protected:
  using Answer =
      std::function<void(QLineEdit& user, QLineEdit& password, QDialogButtonBox& buttons)>;

  bool LogInWithDialog(const Answer& answer) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "test_app";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    int shown = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible() || dialog->property("answered").toBool()) return;
      dialog->setProperty("answered", true);
      ++shown;
      const auto fields = dialog->findChildren<QLineEdit*>();
      auto* buttons = dialog->findChild<QDialogButtonBox*>();
      if (fields.size() != 2 || !buttons) {
        dialog->reject();
        return;
      }
      answer(*fields[0], *fields[1], *buttons);
    });
    timer.start(10);
    ClearLogInfo(record_);
    const bool result = Login("Imot", "prop_db", true, true, record_, lists_);
    dialogsShown_ = shown;
    return result;
  }

  int dialogsShown_ = 0;
};

TEST_F(LoginDialogTest, TheDialogLogsTheUserIn) {
  const bool result =
      LogInWithDialog([](QLineEdit& user, QLineEdit& password, QDialogButtonBox& buttons) {
        EXPECT_EQ(password.echoMode(), QLineEdit::Password);
        user.setText("demo");
        password.setText("secret");
        buttons.button(QDialogButtonBox::Ok)->click();
      });
  EXPECT_TRUE(result);
  EXPECT_EQ(dialogsShown_, 1);
  EXPECT_EQ(record_.UserID, 1);
  EXPECT_EQ(GetShortString(record_.Password), "secret");
}

TEST_F(LoginDialogTest, CancelRefusesAndAWrongUserMayTryAgain) {
  EXPECT_FALSE(LogInWithDialog([](QLineEdit&, QLineEdit&, QDialogButtonBox& buttons) {
    buttons.button(QDialogButtonBox::Cancel)->click();
  }));
  EXPECT_EQ(dialogsShown_, 1);

  int attempt = 0;
  EXPECT_TRUE(LogInWithDialog([&](QLineEdit& user, QLineEdit&, QDialogButtonBox& buttons) {
    user.setText(++attempt == 1 ? "nobody" : "demo");
    buttons.button(QDialogButtonBox::Ok)->click();
  }));
  EXPECT_EQ(dialogsShown_, 2);
  EXPECT_EQ(record_.UserID, 1);
}

TEST_F(LoginDialogTest, ThreeWrongAttemptsRefuse) {
  EXPECT_FALSE(LogInWithDialog([](QLineEdit& user, QLineEdit&, QDialogButtonBox& buttons) {
    user.setText("nobody");
    buttons.button(QDialogButtonBox::Ok)->click();
  }));
  EXPECT_EQ(dialogsShown_, 3);
}

}  // namespace
}  // namespace zrv
