// Opening the connection, the query factory and the stored settings, on real
// databases.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/DatabaseConnection.h"
#include "app/SystemString.h"
#include "common/Error.h"
#include "platform/db/Firebird.h"
#include "tests/support/TestDatabase.h"

namespace zrv::app {
namespace {

namespace fs = std::filesystem;
using test::TestDatabase;

class TempFolder {
 public:
  TempFolder() : path(test::MakeTempFolder()) {}
  ~TempFolder() { fs::remove_all(path); }
  std::string path;
};

TEST(ConnectDatabaseTest, MissingDatabaseGivesTheExactErrorText) {
  TempFolder folder;
  const std::string server = folder.path + "/missing.fdb";
  auto connection = db::MakeFirebirdConnection();
  std::string error = "left over";
  EXPECT_FALSE(ConnectDatabase(*connection, "SYSDBA", "masterkey", server, error));
  const std::string prefix = "Грешка при свързване към БД (" + server + ")\r";
  ASSERT_EQ(error.compare(0, prefix.size(), prefix), 0) << error;
  EXPECT_NE(error.find("No such file or directory", prefix.size()), std::string::npos) << error;
  EXPECT_FALSE(connection->Connected());
}

TEST(ConnectDatabaseTest, CorruptFileGivesTheEngineVerdict) {
  TempFolder folder;
  const std::string server = folder.path + "/corrupt.fdb";
  std::ofstream(server) << std::string(65536, 'x');
  auto connection = db::MakeFirebirdConnection();
  std::string error;
  EXPECT_FALSE(ConnectDatabase(*connection, "SYSDBA", "masterkey", server, error));
  EXPECT_NE(error.find("is not a valid database"), std::string::npos) << error;
}

TEST(ConnectDatabaseTest, OpensAndReopensAndClearsTheErrorText) {
  TestDatabase t;
  auto connection = db::MakeFirebirdConnection();
  std::string error = "old";
  ASSERT_TRUE(ConnectDatabase(*connection, "SYSDBA", "masterkey", t.Path(), error)) << error;
  EXPECT_EQ(error, "");
  connection->StartTransaction();
  // Connecting again closes first: the open transaction goes with the old
  // attachment.
  ASSERT_TRUE(ConnectDatabase(*connection, "SYSDBA", "masterkey", t.Path(), error)) << error;
  EXPECT_FALSE(connection->InTransaction());
  auto query = NewQuery(connection.get());
  EXPECT_EQ(query->DatabaseName(), "prop_db");
  query->SetSQL("select count(*) from obsh_tbl");
  query->Open();
  EXPECT_EQ(query->FieldAt(0).AsInteger(), 265);
}

TEST(NewQueryTest, WithoutConnectionHasEmptyNameAndCannotRun) {
  auto query = NewQuery(nullptr);
  EXPECT_EQ(query->DatabaseName(), "");
  query->SetSQL("select 1 from rdb$database");
  EXPECT_EQ(query->SQL(), "select 1 from rdb$database");
  EXPECT_THROW(query->Open(), db::DbError);
  EXPECT_EQ(query->FindField("x"), nullptr);
}

class SystemStringTest : public ::testing::Test {
 protected:
  // A database that has none of the settings a new one is made with.
  SystemStringTest() { t.Exec("delete from system_strings"); }
  TestDatabase t;
  SystemString settings{&t.Connection()};
};

TEST_F(SystemStringTest, MissingSettingIsStoredWithTheDefault) {
  EXPECT_EQ(settings.GetSystemInt(14015, 2), 2);
  EXPECT_EQ(t.Scalar("select sys_str from system_strings where sys_id = 14015"), "2");
}

TEST_F(SystemStringTest, IntegerSettingIsReadAndNothingWritten) {
  t.Exec("insert into system_strings (sys_id, sys_str) values (14015, '5')");
  EXPECT_EQ(settings.GetSystemInt(14015, 2), 5);
  EXPECT_EQ(t.ScalarInt("select count(*) from system_strings"), 1);
  EXPECT_EQ(t.Scalar("select sys_str from system_strings where sys_id = 14015"), "5");
}

TEST_F(SystemStringTest, TextThatIsNoIntegerIsReplacedByTheDefault) {
  t.Exec("insert into system_strings (sys_id, sys_str) values (14015, 'abc')");
  EXPECT_EQ(settings.GetSystemInt(14015, 2), 2);
  EXPECT_EQ(t.ScalarInt("select count(*) from system_strings where sys_id = 14015"), 1);
  EXPECT_EQ(t.Scalar("select sys_str from system_strings where sys_id = 14015"), "2");
}

TEST_F(SystemStringTest, TextsRoundTripAndMissingReadsEmpty) {
  settings.SetSystemStr(7, "Община \"Русе\"");
  EXPECT_EQ(settings.GetSystemStr(7, "unused"), "Община \"Русе\"");
  EXPECT_EQ(settings.GetSystemStr(8, "unused"), "");
}

TEST_F(SystemStringTest, ReadingInsideTheCallersTransactionLeavesItOpen) {
  db::Connection& c = t.Connection();
  c.StartTransaction();
  t.Exec("insert into ul_kl (ul_id, ul_text) values (1, 'pending')");
  EXPECT_EQ(settings.GetSystemStr(14015, "x"), "");
  EXPECT_TRUE(c.InTransaction());
  c.Rollback();
  // Had the read committed the caller's work, the row would have survived the
  // rollback.
  EXPECT_EQ(t.ScalarInt("select count(*) from ul_kl"), 0);
}

TEST_F(SystemStringTest, DatabaseErrorsAreSwallowed) {
  t.Exec("drop table system_strings");
  EXPECT_EQ(settings.GetSystemStr(1, "as before"), "as before");
  EXPECT_NO_THROW(settings.SetSystemStr(1, "x"));
  EXPECT_EQ(settings.GetSystemInt(14015, 2), 2);
  EXPECT_FALSE(t.Connection().InTransaction());
}

TEST(SystemStringUnregisteredTest, EveryOperationRaisesTheModuleError) {
  const SystemString settings(nullptr);
  try {
    settings.GetSystemInt(14015, 2);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "uSettingsConstants: Database not initialized.");
  }
  EXPECT_THROW(settings.SetSystemStr(1, "x"), Error);
}

}  // namespace
}  // namespace zrv::app
