// The administrator's commands and the settings file, as `zorvit` runs them:
// the database chosen by file, environment and option; clerks added, listed
// and removed on an embedded database; a database whose guards were dropped
// brought back by `zorvit db upgrade`.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/db/Firebird.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Zorvit.h"

namespace zrv::cli {
namespace {

using test::RunZorvit;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class Administration : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = test::MakeTempFolder();
    std::filesystem::create_directories(folder_ + "/config/zorvit");
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  void WriteSettings(const std::string& text) {
    std::ofstream(folder_ + "/config/zorvit/zorvit.conf") << text;
  }
  // Settings from the test's own folder alone (HOME too: no user's database).
  std::string Isolated(const std::string& more = "") const {
    return "-u ZRV_DATABASE -u ZRV_FIRST_ROW -u ZRV_MUNICIPALITY -u "
           "ZRV_LOG_DIR -u ZRV_WAIT_LIMIT HOME='" +
           folder_ + "' XDG_CONFIG_HOME='" + folder_ + "/config' " + more;
  }
  std::string folder_;
};

// The database comes from the settings file, then ZRV_DATABASE, then
// --database, each later one winning; a bad setting ends like a bad option.
TEST_F(Administration, LoginFindsTheDatabaseTheSettingsName) {
  test::TestDatabase database;
  database.Connection().Close();
  const std::string good = database.Path();
  const std::string missing = folder_ + "/missing.fdb";
  struct Case {
    std::string settings;
    std::string environment;  // ZRV_DATABASE
    std::vector<std::string> options;
    int exitCode;
    std::string part;  // in standard output when 0, else standard error
  };
  const std::vector<Case> cases = {
      {"# the municipality's database\ndatabase = " + good + "\n",
       "",
       {},
       0,
       "База данни: " + good},
      {"database = " + missing + "\n", good, {}, 0, "База данни: " + good},
      {"database = " + good + "\n", missing, {}, 1, missing},
      {"database = " + missing + "\n", missing, {"--database", good}, 0, "База данни: " + good},
      {"database = " + good + "\n", "", {"--database", missing}, 1, missing},
      {"database = " + good + "\nfirst-row = 0\n",
       "",
       {},
       2,
       "zorvit.conf:2: first-row: иска номер на ред"},
      {"databse = " + good + "\n", "", {}, 2, "zorvit.conf:1: непознат ключ „databse“"},
  };
  for (const Case& c : cases) {
    WriteSettings(c.settings);
    std::vector<std::string> args = {"login", "--user", "demo", "--password", "x"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const std::string environment =
        c.environment.empty() ? "" : "ZRV_DATABASE='" + c.environment + "'";
    const test::ZorvitResult r = RunZorvit(folder_, args, Isolated(environment));
    const std::string name = c.settings + "|" + c.environment;
    EXPECT_EQ(r.exitCode, c.exitCode) << name << r.err;
    EXPECT_TRUE(Contains(c.exitCode == 0 ? r.out : r.err, c.part)) << name << r.out << r.err;
  }
}

// On an embedded database a clerk is a row of app_users; a new clerk never
// takes the id of one whose contracts are stored.
TEST_F(Administration, ClerksAddedListedAndRemoved) {
  test::TestDatabase database;
  database.Exec("INSERT INTO documents (doc_id, doc_userid) VALUES (1, 5)");
  database.Connection().Close();
  std::ofstream(folder_ + "/password.txt") << "тайна\n";
  const std::string db = "--database=" + database.Path();
  struct Step {
    std::vector<std::string> args;
    int exitCode;
    std::string outPart;
    std::string errPart;
  };
  const std::vector<Step> steps = {
      {{"user", "list"}, 0, "№\tпотребител\n1\tdemo\n", ""},
      {{"user", "add", "ivan"}, 0, "Добавен е потребител ivan (№ 6).", ""},
      {{"login", "--user", "IVAN", "--password", "x"}, 0, "Потребител №: 6", ""},
      {{"user", "add", "Ivan"}, 1, "", "Потребителят вече съществува: ivan"},
      {{"user", "add", "иван"}, 2, "", "латинска буква"},
      {{"user", "add", "petar", "--password-file", "password.txt"},
       0,
       "№ 7",
       "не проверява пароли"},
      {{"user", "list"}, 0, "1\tdemo\n6\tivan\n7\tpetar\n", ""},
      {{"user", "remove", "Ivan"}, 0, "Премахнат е потребител ivan (№ 6).", ""},
      {{"login", "--user", "ivan", "--password", "x"}, 1, "", "Непознат потребител."},
      {{"user", "remove", "ivan"}, 1, "", "Няма потребител ivan"},
  };
  for (const Step& s : steps) {
    std::vector<std::string> args = s.args;
    args.push_back(db);
    const test::ZorvitResult r = RunZorvit(folder_, args, Isolated());
    EXPECT_EQ(r.exitCode, s.exitCode) << s.args[1] << r.err;
    EXPECT_TRUE(Contains(r.out, s.outPart)) << s.args[1] << r.out;
    EXPECT_TRUE(Contains(r.err, s.errPart)) << s.args[1] << r.err;
  }
}

// db init makes the user demo only when asked.
TEST_F(Administration, DbInitMakesTheDemoUserOnlyWithDemo) {
  for (const bool demo : {false, true}) {
    const std::string db = "--database=" + folder_ + (demo ? "/demo.fdb" : "/plain.fdb");
    std::vector<std::string> init = {"db", "init", db};
    if (demo) init.push_back("--demo");
    ASSERT_EQ(RunZorvit(folder_, init, Isolated()).exitCode, 0);
    const test::ZorvitResult r = RunZorvit(folder_, {"user", "list", db}, Isolated());
    EXPECT_EQ(r.out, demo ? "№\tпотребител\n1\tdemo\n" : "№\tпотребител\n(няма потребители)\n");
  }
}

// A database whose contract keys, annex CHECK and a unique classifier index
// were dropped, and whose version is not recorded: login and import name the
// upgrade, which brings all three back, once.
TEST_F(Administration, UpgradeBringsBackDroppedGuards) {
  test::TestDatabase database;
  for (const char* drop : {"DROP TRIGGER documents_aud_contract_keys", "DROP TABLE contract_keys",
                           "ALTER TABLE anecs DROP CONSTRAINT ck_anecs_period",
                           "DROP INDEX ux_ul_kl_upper_text", "DELETE FROM schema_version"})
    database.Exec(drop);
  database.Connection().Close();
  const std::string db = "--database=" + database.Path();

  const test::ZorvitResult login =
      RunZorvit(folder_, {"login", "--user", "demo", "--password", "x", db}, Isolated());
  EXPECT_EQ(login.exitCode, 0) << login.err;
  EXPECT_TRUE(Contains(login.err, "„zorvit db upgrade“")) << login.err;
  const test::ZorvitResult import =
      RunZorvit(folder_,
                {"import", "--user", "demo", "--password", "x", db,
                 std::string(ZRV_SOURCE_DIR) + "/examples/contracts.xls"},
                Isolated());
  EXPECT_TRUE(Contains(import.err, "„zorvit db upgrade“")) << import.err;

  const test::ZorvitResult check = RunZorvit(folder_, {"db", "upgrade", "--check", db}, Isolated());
  EXPECT_EQ(check.exitCode, 0) << check.err;
  for (const char* step :
       {"индекс ux_ul_kl_upper_text на ul_kl", "ограничение ck_anecs_period на anecs",
        "таблица contract_keys", "тригер documents_aud_contract_keys на documents"})
    EXPECT_TRUE(Contains(check.out, step)) << step << check.out;
  const test::ZorvitResult upgrade = RunZorvit(folder_, {"db", "upgrade", db}, Isolated());
  EXPECT_EQ(upgrade.exitCode, 0) << upgrade.err;
  EXPECT_TRUE(Contains(upgrade.out, "+ таблица contract_keys")) << upgrade.out;
  const test::ZorvitResult again = RunZorvit(folder_, {"db", "upgrade", db}, Isolated());
  EXPECT_EQ(again.exitCode, 0) << again.err;
  EXPECT_TRUE(Contains(again.out, "е обновена (версия на схемата")) << again.out;
  const test::ZorvitResult after =
      RunZorvit(folder_, {"login", "--user", "demo", "--password", "x", db}, Isolated());
  EXPECT_EQ(after.err, "");

  auto c = db::MakeFirebirdConnection();
  c->Open({"SYSDBA", "masterkey", database.Path()});
  const auto refused = [&c](const std::string& sql) {
    auto query = c->NewQuery();
    query->SetSQL(sql);
    try {
      query->Execute();
    } catch (const db::DbError&) {
      return true;
    }
    return false;
  };
  EXPECT_FALSE(refused("INSERT INTO ul_kl VALUES (900, 'Нова')"));
  EXPECT_TRUE(refused("INSERT INTO ul_kl VALUES (901, 'НОВА')"));
  EXPECT_TRUE(
      refused("INSERT INTO anecs (an_id, an_num, an_dtstart, an_dtstop) "
              "VALUES (1, 9, '2020-01-10', '2020-01-01')"));
  // A contract's key, freed by its trigger when the contract goes.
  EXPECT_FALSE(refused("INSERT INTO documents (doc_id) VALUES (900)"));
  EXPECT_FALSE(refused("INSERT INTO contract_keys VALUES ('k', 900)"));
  EXPECT_TRUE(refused("INSERT INTO contract_keys VALUES ('k', 901)"));
  EXPECT_FALSE(refused("DELETE FROM documents WHERE doc_id = 900"));
  EXPECT_FALSE(refused("INSERT INTO contract_keys VALUES ('k', 901)"));
  c->Close();
}

}  // namespace
}  // namespace zrv::cli
