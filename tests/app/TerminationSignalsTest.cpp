// SIGINT and SIGTERM keep their meaning once the database client is loaded and
// attached.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/DatabaseConnection.h"
#include "app/TerminationSignals.h"
#include "platform/db/Firebird.h"
#include "tests/support/TestDatabase.h"

namespace zrv::app {
namespace {

// Forks a child that attaches to the database after `install`, then raises
// `signal`; gives the child's wait status.
template <typename Install>
int StatusOfChildRaising(const std::string& database, int signal, Install install) {
  const pid_t child = fork();
  if (child == 0) {
    install();
    auto connection = db::MakeFirebirdConnection();
    std::string error;
    if (!ConnectDatabase(*connection, "SYSDBA", "masterkey", database, error)) _exit(3);
    raise(signal);
    _exit(TerminationRequested() ? 4 : 5);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

TEST(TerminationSignals, EndTheCommandLineProcessAfterTheDatabaseIsAttached) {
  test::TestDatabase database;
  const std::string path = database.Path();
  database.Connection().Close();
  for (int signal : {SIGINT, SIGTERM}) {
    const int status = StatusOfChildRaising(path, signal, [] { DieOnTerminationSignals(); });
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit code " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), signal);
  }
}

TEST(TerminationSignals, AreReportedToTheWindowProgram) {
  test::TestDatabase database;
  const std::string path = database.Path();
  database.Connection().Close();
  const int status = StatusOfChildRaising(path, SIGTERM, [] { CatchTerminationSignals(); });
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 4);
}

}  // namespace
}  // namespace zrv::app
