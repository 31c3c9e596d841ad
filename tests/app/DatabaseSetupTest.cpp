// Creating the property database file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/DatabaseSetup.h"
#include "common/Error.h"
#include "platform/db/Firebird.h"
#include "tests/support/TestDatabase.h"

namespace zrv::app {
namespace {

namespace fs = std::filesystem;

class DatabaseSetupTest : public ::testing::Test {
 protected:
  ~DatabaseSetupTest() override { fs::remove_all(folder); }
  db::ConnectParams Params(const std::string& file) {
    return db::ConnectParams{"SYSDBA", "masterkey", folder + "/" + file};
  }
  std::string folder = test::MakeTempFolder();
};

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST_F(DatabaseSetupTest, CreatesDialectOneWin1251DatabaseWithForcedWrites) {
  db::ConnectParams params = Params("new/property.fdb");
  CreatePropertyDatabase(params, true);
  auto connection = db::MakeFirebirdConnection();
  connection->Open(params);
  auto q = connection->NewQuery();
  q->SetSQL(
      "select mon$sql_dialect, mon$forced_writes, rdb$character_set_name "
      "from mon$database, rdb$database");
  q->Open();
  EXPECT_EQ(q->FieldAt(0).AsInteger(), 1);
  EXPECT_EQ(q->FieldAt(1).AsInteger(), 1);
  EXPECT_EQ(q->FieldAt(2).AsString(), "WIN1251");
}

TEST_F(DatabaseSetupTest, ExistingFileIsRefusedAndLeftAsItWas) {
  db::ConnectParams params = Params("existing.fdb");
  std::ofstream(params.serverName) << "not a database, but someone's file";
  try {
    CreatePropertyDatabase(params, false);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("вече съществува"), std::string::npos) << e.what();
  }
  EXPECT_EQ(FileText(params.serverName), "not a database, but someone's file");
}

TEST_F(DatabaseSetupTest, ExistingDatabaseIsRefusedWithItsDataKept) {
  db::ConnectParams params = Params("kept.fdb");
  CreatePropertyDatabase(params, false);
  {
    auto connection = db::MakeFirebirdConnection();
    connection->Open(params);
    auto q = connection->NewQuery();
    q->SetSQL("insert into me_kl (me_id, me_text) values (1, 'Мера')");
    q->Execute();
  }
  EXPECT_THROW(CreatePropertyDatabase(params, false), Error);
  auto connection = db::MakeFirebirdConnection();
  connection->Open(params);
  auto q = connection->NewQuery();
  q->SetSQL("select me_text from me_kl");
  q->Open();
  EXPECT_EQ(q->FieldAt(0).AsString(), "Мера");
}

TEST_F(DatabaseSetupTest, FolderThatCannotBeMadeGivesAClearMessage) {
  std::ofstream(folder + "/plain-file") << "x";
  db::ConnectParams params = Params("plain-file/sub/db.fdb");
  try {
    CreatePropertyDatabase(params, false);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("не може да се създаде"), std::string::npos) << e.what();
  }
}

TEST_F(DatabaseSetupTest, FailureMidwayRemovesTheHalfMadeFile) {
  std::vector<EmbeddedFile> broken = EmbeddedSchemaFiles();
  broken.push_back({"95_broken.sql", "CREATE TABLE fine (a INTEGER);\nCREATE TABLE oops (;"});
  db::ConnectParams params = Params("half.fdb");
  try {
    CreatePropertyDatabase(params, false, broken);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("95_broken.sql"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("Unexpected end of command"), std::string::npos)
        << e.what();
  }
  EXPECT_FALSE(fs::exists(params.serverName));
}

TEST_F(DatabaseSetupTest, BadRegisterDataRemovesTheHalfMadeFile) {
  std::vector<EmbeddedFile> files;
  for (const EmbeddedFile& file : EmbeddedSchemaFiles()) {
    if (file.name != "data/nm_tbl.csv") files.push_back(file);
  }
  files.push_back({"data/nm_tbl.csv", "ob_code,eknm,nm_name\nBGS01,00151\n"});
  db::ConnectParams params = Params("half.fdb");
  try {
    CreatePropertyDatabase(params, false, files);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("Line 2"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(fs::exists(params.serverName));
}

}  // namespace
}  // namespace zrv::app
