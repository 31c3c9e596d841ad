// `zorvit` as a script sees it: exit codes, what goes to standard output and
// standard error, help and the reading of options.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Version.h"
#include "tests/import/ImportRunFixture.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Zorvit.h"

namespace zrv::cli {
namespace {

using Result = test::ZorvitResult;
using test::ReadWholeFile;
using test::RunZorvit;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = test::MakeTempFolder(); }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string folder_;
};

// Help goes to standard output with exit code 0; a command line zorvit does
// not understand gives exit code 2 and one line of reason on standard error.
TEST_F(CommandLine, AnswersHelpAndRefusesWhatItDoesNotUnderstand) {
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string outPart;  // in standard output when help, else in the error
  };
  const std::vector<Case> cases = {
      {{"--help"}, 0, "Изходни кодове:"},
      {{"-h"}, 0, "zorvit import [ОПЦИИ] КНИГА"},
      {{"--version"}, 0, "zorvit " ZRV_VERSION "\n"},
      {{"-V"}, 0, "zorvit " ZRV_VERSION "\n"},
      {{"import", "--help"}, 0, "--summary-json ФАЙЛ"},
      {{"import", "-h"}, 0, "  3  импортирането завърши"},
      {{"cells", "--help"}, 0, "Употреба: zorvit cells [ОПЦИИ] КНИГА"},
      {{"db", "init", "--help"}, 0, "--database ПЪТ"},
      {{"state", "--help"}, 0, "--password-file ФАЙЛ"},
      {{}, 2, "липсва команда"},
      {{"frob"}, 2, "непозната команда frob"},
      {{"import"}, 2, "zorvit import: липсва КНИГА"},
      {{"import", "--bogus", "a.xls"}, 2, "непозната опция --bogus"},
      {{"import", "a.xls", "--user"}, 2, "--user изисква стойност"},
      {{"import", "--no-links=1", "a.xls"}, 2, "--no-links не приема"},
      {{"import", "-x", "a.xls"}, 2, "непозната опция -x"},
      {{"cells", "a.xls", "b.xls"}, 2, "излишен аргумент: b.xls"},
      {{"import", "--password=a", "--password-file", "f", "a.xls"}, 2, "не се дават заедно"},
      {{"state", "12", "--date=31.02.2008"}, 2, "Невалидна дата"},
      {{"state", "дванадесет"}, 2, "Невалиден ИД на договор"},
      {{"state"}, 2, "липсва ИД на договор или --number"},
      {{"import", "--quiet", "--progress", "a.xls"}, 2, "не се дават заедно"},
      {{"import", "--log-dir", "няма", "a.xls"}, 2, "--log-dir не е папка"},
  };
  for (const Case& c : cases) {
    std::string name;
    for (const auto& arg : c.args) name += arg + " ";
    const Result r = RunZorvit(folder_, c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << name << r.err;
    if (c.exitCode == 0) {
      EXPECT_TRUE(Contains(r.out, c.outPart)) << name << r.out;
      EXPECT_EQ(r.err, "") << name;
    } else {
      EXPECT_TRUE(Contains(r.err, c.outPart)) << name << r.err;
      EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << name << r.err;
      EXPECT_EQ(r.out, "") << name;
    }
  }
}

// zorvit import against a database: 0 when every row is stored, 3 when the
// run finished with refused rows, 1 when it could not start; the password from
// the command line, a file or the environment; a Cyrillic user name and
// database path.
TEST_F(CommandLine, ImportTellsAScriptHowTheRunEnded) {
  test::TestDatabase database;
  database.Exec("INSERT INTO app_users (user_id, user_name) VALUES (2, 'Иван')");
  database.Connection().Close();  // the embedded engine lets one process in
  const std::string clean = test::MakeWorkbook(
      folder_, "clean.xls",
      {import::MakeRow({{"A", "Номер"}}), import::ContractRow("К1", "7001010003")});
  const std::string example = std::string(ZRV_SOURCE_DIR) + "/examples/contracts.xls";
  const std::string notWorkbook = folder_ + "/text.xls";
  std::ofstream(notWorkbook) << "Номер;Дата\n";
  std::ofstream(folder_ + "/password.txt") << "тайна\n";
  const std::string db = "--database=" + database.Path();
  // A database in a folder named in Cyrillic, whatever the locale.
  const std::string cyrillic = folder_ + "/данни/имоти.fdb";
  ASSERT_EQ(
      RunZorvit(folder_, {"db", "init", "--demo", "--database", cyrillic}, "LC_ALL=C").exitCode, 0);

  struct Case {
    std::vector<std::string> args;
    std::string environment;
    int exitCode;
    std::string outPart;
    std::string errPart;
  };
  const std::vector<Case> cases = {
      {{db, "--user", "demo", "--password", "x", clean},
       "",
       0,
       "Записани договори:           1\n",
       ""},
      {{db, "--user=Иван", clean}, "ZRV_PASSWORD=x", 0, "Отказани редове:             0\n", ""},
      {{db, "--user", "иван", "--password-file", "password.txt", example},
       "",
       3,
       "FATAL : Липсва ",
       ""},
      {{db, "--user", "demo", "--password", "x", folder_ + "/none.xls"},
       "",
       1,
       "",
       "не може да бъде прочетена: файлът не съществува"},
      {{db, "--user", "demo", "--password", "x", notWorkbook},
       "",
       1,
       "",
       "Работната книга " + notWorkbook + " не може да бъде прочетена"},
      {{"--database", folder_ + "/none.fdb", "--user", "demo", "--password", "x", clean},
       "",
       1,
       "",
       "Няма база данни "},
      {{db, "--user", "Петър", "--password", "x", clean}, "", 1, "", "Входът е отказан."},
      {{"--database=" + cyrillic, "--user", "demo", "--password", "x", clean},
       "LC_ALL=C",
       0,
       "Записани договори:           1\n",
       ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), "import");
    const Result r = RunZorvit(folder_, args, c.environment);
    const std::string name = c.args[1] + " " + c.args[2];
    EXPECT_EQ(r.exitCode, c.exitCode) << name << r.err;
    EXPECT_TRUE(Contains(r.out, c.outPart)) << name << r.out;
    EXPECT_TRUE(Contains(r.err, c.errPart)) << name << r.err;
  }
}

// --summary-json writes the summary and the error list for a script, and the
// reason when the run does not start.
TEST_F(CommandLine, ImportWritesTheSummaryAsJson) {
  test::TestDatabase database;
  database.Connection().Close();
  struct Case {
    std::string workbook;
    int exitCode;
    std::vector<std::string> parts;
  };
  const std::vector<Case> cases = {
      {std::string(ZRV_SOURCE_DIR) + "/examples/contracts.xls",
       3,
       {"\"finished\": true", "\"exitCode\": 3", "\"contractsStored\": 18", "\"rowsRefused\": 1",
        "\"logFile\": \"log_contracts.xls_", "\"logProblem\": null",
        "\"line\": \"FATAL : Липсва "}},
      {"none.xls",
       1,
       {"\"finished\": false", "\"exitCode\": 1",
        "\"reason\": \"Работната книга none.xls не може да бъде прочетена: "
        "файлът не съществува.\"",
        "\"errors\": []", "\"storedContracts\": []"}},
  };
  for (const Case& c : cases) {
    const Result r =
        RunZorvit(folder_, {"import", "--database", database.Path(), "--user", "demo", "--password",
                            "x", "--summary-json=summary.json", c.workbook});
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    const std::string json = ReadWholeFile(folder_ + "/summary.json");
    for (const auto& part : c.parts) EXPECT_TRUE(Contains(json, part)) << part << "\n" << json;
  }
}

// A dry run leaves every table as it found it, also one whose database lacks
// the stored setting the start-up reads (a reading never stores its default).
TEST_F(CommandLine, ADryRunChangesNoTable) {
  test::TestDatabase database;
  database.Exec("delete from system_strings");
  const auto tables = [&database] {
    std::string counts;
    auto query = database.Connection().NewQuery();
    query->SetSQL(
        "SELECT TRIM(rdb$relation_name) FROM rdb$relations WHERE "
        "rdb$system_flag = 0 AND rdb$view_blr IS NULL ORDER BY 1");
    for (query->Open(); !query->Eof(); query->Next()) {
      const std::string table = query->FieldAt(0).AsString();
      counts += table + " " + database.Scalar("SELECT COUNT(*) FROM " + table) + "\n";
    }
    return counts;
  };
  const std::string before = tables();
  database.Connection().Close();
  const Result r = RunZorvit(
      folder_, {"import", "--check", "--database", database.Path(), "--user", "demo", "--password",
                "x", std::string(ZRV_SOURCE_DIR) + "/examples/contracts.xls"});
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_TRUE(Contains(r.out, "Записани договори:           18"));
  database.Connection().Open(db::ConnectParams{"SYSDBA", "masterkey", database.Path()});
  EXPECT_EQ(tables(), before);
}

}  // namespace
}  // namespace zrv::cli
