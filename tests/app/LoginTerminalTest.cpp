// The login library's terminal prompt, driven through a pseudo-terminal that
// becomes the controlling terminal of a separate login program.

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/support/TestDatabase.h"

namespace zrv {
namespace {

namespace fs = std::filesystem;

// Everything the terminal shows until `until` appears or the program ends (5 s
// at most).
std::string ReadUntil(int master, const std::string& until) {
  std::string seen;
  for (int waited = 0; waited < 5000 && seen.find(until) == std::string::npos; waited += 50) {
    pollfd p{master, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    char buf[256];
    const ssize_t n = read(master, buf, sizeof buf);
    if (n <= 0) break;
    seen.append(buf, static_cast<size_t>(n));
  }
  return seen;
}

class LoginTerminalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The login program opens the database in its own process, so it gets a
    // copy that this process never holds open.
    folder_ = test::MakeTempFolder();
    {
      test::TestDatabase database;
      database.Connection().Close();
      fs::copy_file(database.Path(), folder_ + "/login.fdb");
    }
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Starts the login program on a new pseudo-terminal and plays the user with
  // `lines`.
  std::string Run(const std::vector<std::string>& lines) {
    const std::string probe = (fs::path(ZRV_BINARY_DIR) / "bin" / "login_probe").string();
    const std::string database = folder_ + "/login.fdb";
    int master = -1;
    const pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
    if (child == 0) {
      setenv("ZRV_DATABASE", database.c_str(), 1);
      execl(probe.c_str(), probe.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    EXPECT_GT(child, 0);
    std::string screen;
    for (const std::string& line : lines) {
      screen += ReadUntil(master, ": ");
      if (write(master, line.data(), line.size()) < 0) break;
    }
    screen += ReadUntil(master, "result=");
    screen += ReadUntil(master, "\n");
    int status = 0;
    waitpid(child, &status, 0);
    close(master);
    return screen;
  }

  std::string folder_;
};

TEST_F(LoginTerminalTest, AsksForUserAndPasswordWithoutEchoingThePassword) {
  const std::string screen = Run({"demo\n", "s3cret\n"});
  EXPECT_NE(screen.find("Потребител: demo"), std::string::npos) << screen;
  EXPECT_NE(screen.find("Парола: "), std::string::npos) << screen;
  EXPECT_EQ(screen.find("s3cret"), std::string::npos) << screen;
  EXPECT_NE(screen.find("result=1 user=1"), std::string::npos) << screen;
}

TEST_F(LoginTerminalTest, EndOfInputCancels) {
  const std::string screen = Run({"\x04"});
  EXPECT_NE(screen.find("result=0 user=0"), std::string::npos) << screen;
}

TEST_F(LoginTerminalTest, WrongUserIsToldAndAskedAgain) {
  const std::string screen = Run({"nobody\n", "x\n", "demo\n", "x\n"});
  EXPECT_NE(screen.find("Непознат потребител."), std::string::npos) << screen;
  EXPECT_NE(screen.find("result=1 user=1"), std::string::npos) << screen;
}

}  // namespace
}  // namespace zrv
