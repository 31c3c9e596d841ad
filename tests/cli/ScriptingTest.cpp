// `zorvit` in scripts and at night: the JSON on standard output with its
// errors' parts and the stored contracts, the log folder, progress, the state
// by a contract's number, messages that name the next step, and the bench
// programs' usage.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/ErrorLineFields.h"
#include "cli/RowsProgress.h"
#include "import/ColumnMap.h"
#include "import/ErrorList.h"
#include "platform/db/firebird/FbEngineRoot.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Zorvit.h"

namespace zrv::cli {
namespace {

namespace fs = std::filesystem;
using test::ReadWholeFile;
using test::RunZorvit;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Runs a shell command in `folder`, its output kept.
test::ZorvitResult RunShell(const std::string& folder, const std::string& command) {
  const std::string line = "cd '" + folder + "' && " + command + " </dev/null >out.txt 2>err.txt";
  const int status = std::system(line.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWholeFile(folder + "/out.txt"),
          ReadWholeFile(folder + "/err.txt")};
}

// JSON read by a real parser (Perl's JSON::PP, which comes with the Perl the
// test workbooks are made with): one line per error, "E row level column",
// then one per stored contract, "C id number row". Empty when it is no JSON.
std::string ParsedJson(const std::string& folder, const std::string& json) {
  std::ofstream(folder + "/run.json", std::ios::binary) << json;
  std::ofstream(folder + "/parts.pl")
      << "use JSON::PP; local $/; my $j = decode_json(<>);\n"
         "sub v { defined $_[0] ? $_[0] : 'null' }\n"
         "print join(' ', 'E', v($_->{row}), v($_->{level}), v($_->{column})),"
         " \"\\n\" for @{$j->{errors}};\n"
         "print join(' ', 'C', v($_->{id}), $_->{number}, $_->{row}), \"\\n\""
         " for @{$j->{storedContracts}};\n";
  const test::ZorvitResult r = RunShell(folder, "perl parts.pl run.json");
  return r.exitCode == 0 ? r.out : "";
}

class Scripting : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = test::MakeTempFolder(); }
  void TearDown() override { fs::remove_all(folder_); }
  std::string folder_;
};

// Every form of line the error list has gives its parts; a line of another
// form keeps its text.
TEST(ErrorLineFieldsTest, ParsesTheLinesOfTheErrorList) {
  using import::FatalLine;
  using import::MissingLine;
  using import::WarningLine;
  namespace subject = import::subject;
  struct Case {
    std::string line;
    std::string level;
    int row;
    std::string column;
    std::string subject;
    std::string text;
  };
  const std::vector<Case> cases = {
      {MissingLine(subject::kRentType, 11, true), "FATAL", 11, "C", subject::kRentType,
       std::string("Липсва ") + subject::kRentType},
      {MissingLine(subject::kAnnexStartNotLater, 7, false), "WARNING", 7, "AE",
       subject::kAnnexStartNotLater, ""},
      {MissingLine(std::string(subject::kCheckDigit) + "E", 3, false), "WARNING", 3, "E",
       std::string(subject::kCheckDigit) + "E", ""},
      {MissingLine("адрес(колона H: най-много 250 знака)", 4, true), "FATAL", 4, "H",
       "адрес(колона H: най-много 250 знака)", ""},
      {WarningLine("Договорът вече е записан", 5), "WARNING", 5, "", "",
       "Договорът вече е записан"},
      {WarningLine("записан с други стойности в колони AD, AE", 6), "WARNING", 6, "AD", "",
       "записан с други стойности в колони AD, AE"},
      {FatalLine("друга работна станция", 12), "FATAL", 12, "", "", "друга работна станция"},
      {"Импортирането е прекъснато на ред 9.", "", 0, "", "",
       "Импортирането е прекъснато на ред 9."},
      {"FATAL : на ред номер : девет", "FATAL", 0, "", "", "на ред номер : девет"},
  };
  for (const Case& c : cases) {
    const ErrorLineFields f = ParseErrorLine(c.line);
    EXPECT_EQ(f.level, c.level) << c.line;
    EXPECT_EQ(f.row, c.row) << c.line;
    EXPECT_EQ(f.column, c.column) << c.line;
    EXPECT_EQ(f.subject, c.subject) << c.line;
    if (!c.text.empty()) {
      EXPECT_EQ(f.text, c.text) << c.line;
    }
    EXPECT_EQ(f.line, c.line);
  }
}

// The progress line's text and when it is shown at all.
TEST(RowsProgressTest, TellsThePaceAndTheTimeLeft) {
  struct Case {
    int done, total;
    double seconds;
    std::string text;
  };
  const std::vector<Case> cases = {
      {0, 100, 0, "ред 0 от 100"},
      {10, 100, 2, "ред 10 от 100, 5 реда/с, остават 0:18"},
      {100, 10100, 1, "ред 100 от 10100, 100 реда/с, остават 1:40"},
      {1, 3601, 1, "ред 1 от 3601, 1 реда/с, остават 1:00:00"},
      {50, 50, 10, "ред 50 от 50, 5 реда/с"},
  };
  for (const Case& c : cases) EXPECT_EQ(RowsProgressText(c.done, c.total, c.seconds), c.text);

  EXPECT_EQ(ChooseProgressMode(false, false, true), ProgressMode::kInPlace);
  EXPECT_EQ(ChooseProgressMode(false, false, false), ProgressMode::kNone);
  EXPECT_EQ(ChooseProgressMode(true, false, false), ProgressMode::kLines);
  EXPECT_EQ(ChooseProgressMode(false, true, true), ProgressMode::kNone);
}

// `--summary-json -` puts the JSON alone on standard output (the error list,
// the summary and the forced progress go to standard error), its errors carry
// their row and level and its stored contracts their id and number; the log
// and the refused rows' workbook go to --log-dir. A dry run's contracts have
// no id.
TEST_F(Scripting, JsonOnStandardOutputAndTheLogInItsFolder) {
  test::TestDatabase database;
  database.Connection().Close();
  const std::string logs = folder_ + "/logs";
  fs::create_directory(logs);
  const std::string example = std::string(ZRV_SOURCE_DIR) + "/examples/contracts.xls";
  const std::vector<std::string> login = {
      "import", "--database", database.Path(), "--user", "demo", "--password", "x"};
  auto args = login;
  args.insert(args.end(), {"--summary-json", "-", "--log-dir", logs, "--progress", example});
  const test::ZorvitResult r = RunZorvit(folder_, args);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  const std::string parsed = ParsedJson(folder_, r.out);
  EXPECT_TRUE(Contains(parsed, "E 7 WARNING AE\nE 11 FATAL C\nE 11 FATAL AC\n")) << parsed << r.out;
  EXPECT_TRUE(Contains(r.err, "FATAL : Липсва вид наем на ред номер : 11\n"));
  EXPECT_TRUE(Contains(r.err, "Записани договори:           18\n"));
  EXPECT_TRUE(Contains(r.err, "ред 1 от ")) << r.err;

  database.Connection().Open(db::ConnectParams{"SYSDBA", "masterkey", database.Path()});
  int contracts = 0;
  std::istringstream lines(parsed);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string kind, id, number;
    if (!(words >> kind >> id >> number) || kind != "C") continue;
    EXPECT_EQ(database.Scalar("SELECT doc_nomtxt FROM documents WHERE doc_id "
                              "= " +
                              id),
              number);
    ++contracts;
  }
  EXPECT_EQ(contracts, 18) << parsed;
  database.Connection().Close();

  std::set<std::string> written;
  for (const auto& entry : fs::directory_iterator(logs))
    written.insert(entry.path().extension().string());
  EXPECT_EQ(written, (std::set<std::string>{".txt", ".xlsx"}));
  EXPECT_FALSE(fs::exists(folder_ + "/-"));

  args = login;
  args.insert(args.end(),
              {"--check", "--allow-duplicates", "--quiet", "--summary-json", "-", example});
  const test::ZorvitResult dry = RunZorvit(folder_, args);
  EXPECT_TRUE(Contains(ParsedJson(folder_, dry.out), "\nC null 1/2007 2\n")) << dry.out;
  EXPECT_FALSE(Contains(dry.err, "Обобщение")) << dry.err;
}

// `zorvit state --number N`: the one contract with that number; a number two
// contracts share lists both ids (a date a contract lacks left out); an
// unknown number says so.
TEST_F(Scripting, StateByTheContractsNumber) {
  test::TestDatabase database;
  int id = 1;
  for (const char* number_stop :
       {"\"15/2007\", \"31.12.2008\"", "\"16/2007\", \"31.12.2008\"", "\"16/2007\", null"}) {
    database.Exec(
        "insert into documents (doc_id, doc_type, doc_datastart, doc_nomtxt, "
        "doc_datastop) values (" +
        std::to_string(id++) + ", 1002, \"01.01.2008\", " + number_stop + ")");
  }
  database.Connection().Close();
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string out;  // a part of standard output; empty: none at all
    std::string errPart;
  };
  const std::vector<Case> cases = {
      {{"--number", "15/2007"}, 0, "Договор №: 15/2007\nId: 1\n", ""},
      {{"--number", "16/2007"},
       1,
       "",
       "2 договора имат номер 16/2007; посочете единия с ИД:\n"
       "  zorvit state 2  (от 01.01.2008 до 31.12.2008)\n"
       "  zorvit state 3  (от 01.01.2008)\n"},
      {{"--number", "17/2007"}, 1, "", "Няма договор с номер 17/2007.\n"},
      {{"1", "--number", "15/2007"}, 2, "", "не и двете"},
      {{"15/2007"}, 2, "", "zorvit state --number 15/2007"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"state"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.insert(args.end(), {"--date", "31.12.2008", "--database", database.Path()});
    const test::ZorvitResult r = RunZorvit(folder_, args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0] << r.err;
    EXPECT_TRUE(c.out.empty() ? r.out.empty() : Contains(r.out, c.out)) << r.out;
    EXPECT_TRUE(Contains(r.err, c.errPart)) << c.args[0] << "\n" << r.err;
  }
}

// A message that stops a command says what to do next.
TEST_F(Scripting, MessagesNameTheNextStep) {
  test::TestDatabase database;
  database.Connection().Close();
  // An engine folder without its character sets: every entry of this
  // machine's but intl/.
  const std::optional<fs::path> root = db::fb::FindEngineRoot(db::fb::ThisProcessClues());
  ASSERT_TRUE(root);
  const std::string bare = folder_ + "/firebird";
  fs::create_directories(bare);
  for (const auto& entry : fs::directory_iterator(*root)) {
    if (entry.path().filename() != "intl")
      fs::create_symlink(entry.path(), bare / entry.path().filename());
  }
  fs::create_directories(folder_ + "/tmp");
  const std::string none = folder_ + "/none.fdb";
  struct Case {
    std::vector<std::string> args;
    std::string environment;
    int exitCode;
    std::string errPart;
  };
  const std::vector<Case> cases = {
      {{"db"}, "", 2, "zorvit db: липсва команда\nУпотреба: zorvit db КОМАНДА"},
      {{"rates"}, "", 2, "  zorvit rates import [ОПЦИИ]"},
      {{"db", "frob"}, "", 2, "zorvit db: непозната команда frob\n"},
      {{"state", "1", "--database", none},
       "",
       1,
       "Няма база данни " + none +
           " (създава се със „zorvit db init "
           "--database " +
           none + "“)."},
      {{"debtors", "--database", none}, "", 1, "zorvit db init --database"},
      {{"state", "1", "--database", database.Path()},
       "TMPDIR=" + folder_ + "/tmp FIREBIRD=" + bare,
       1,
       "липсват в папката на Firebird " + bare + ". Задайте папката с променливата FIREBIRD"},
  };
  for (const Case& c : cases) {
    const test::ZorvitResult r = RunZorvit(folder_, c.args, c.environment);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0] << r.err;
    EXPECT_TRUE(Contains(r.err, c.errPart)) << c.args[0] << "\n" << r.err;
  }
  const test::ZorvitResult help = RunZorvit(folder_, {"db", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(Contains(help.out, "  zorvit db upgrade [ОПЦИИ]\n")) << help.out;
}

// The bench programs answer --help with their usage and refuse what they do
// not take before making or measuring anything.
TEST_F(Scripting, BenchProgramsAnswerHelpAndRefuseUnknownOptions) {
  const std::string bin = std::string(ZRV_BINARY_DIR) + "/bin/";
  struct Case {
    std::string bench;
    std::string wrong;  // a command line it does not take
  };
  const std::vector<Case> cases = {
      {"import_bench", "--bogus"},   {"import_bench", "--contracts"},
      {"workbook_bench", "--bogus"}, {"workbook_bench", "--rows x dir"},
      {"state_bench", "12x"},        {"debtors_bench", "10 -1"},
  };
  for (const Case& c : cases) {
    const std::string usage = "Usage: " + c.bench;
    const test::ZorvitResult help = RunShell(folder_, bin + c.bench + " --help");
    EXPECT_EQ(help.exitCode, 0) << c.bench;
    EXPECT_TRUE(Contains(help.out, usage)) << c.bench << help.out;
    const test::ZorvitResult r = RunShell(folder_, bin + c.bench + " " + c.wrong);
    EXPECT_EQ(r.exitCode, 2) << c.bench << " " << c.wrong;
    EXPECT_TRUE(Contains(r.err, usage)) << c.bench << " " << c.wrong << r.err;
    EXPECT_EQ(r.out, "") << c.bench << " " << c.wrong;
  }
  // Nothing was made in the folder the old workbook_bench took "--help" for.
  EXPECT_FALSE(fs::exists(folder_ + "/--help"));
  EXPECT_FALSE(fs::exists(folder_ + "/dir"));
}

}  // namespace
}  // namespace zrv::cli
