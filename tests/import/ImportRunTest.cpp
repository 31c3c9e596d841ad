// The run over the rows: where it starts and stops, which rows it skips, one
// transaction per row, and the log file.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "common/Text.h"
#include "tests/import/ImportRunFixture.h"

namespace zrv::import {
namespace {

// Five contracts on rows 2 to 6.
std::vector<Row> FiveContracts() {
  std::vector<Row> rows;
  const char* const numbers[] = {"7001010011", "7001010027", "7001010032", "7001010048",
                                 "7001010053"};
  for (int i = 1; i <= 5; ++i) rows.push_back(ContractRow("N" + std::to_string(i), numbers[i - 1]));
  return rows;
}

TEST_F(ImportRunTest, FirstRowFromTheTypedTextOrTwo) {
  RunResult result = Import(FiveContracts(), {.firstRowText = "5"});
  ASSERT_EQ(result.outcome, RunOutcome::kFinished);
  EXPECT_EQ(Count("documents"), 2);
  EXPECT_EQ(Count("documents", "doc_nomtxt IN ('N4', 'N5')"), 2);

  result = Import(FiveContracts(), {.firstRowText = "abc", .allowDuplicates = true});
  ASSERT_EQ(result.outcome, RunOutcome::kFinished);
  EXPECT_EQ(result.summary.contractsStored,
            5);  // from row 2: the header row is not read
  EXPECT_TRUE(Lines().empty());
}

TEST_F(ImportRunTest, VisitsTheUsedRangePlusOneAndStoresEveryCompleteRow) {
  std::vector<Row> rows;
  for (int i = 0; i < 9; ++i)
    rows.push_back(ContractRow("K" + std::to_string(i), "80020200" + std::to_string(10 + i)));
  const RunResult result = Import(rows);  // the used range has 10 rows
  EXPECT_EQ(result.summary.rowsTotal, 10);
  EXPECT_EQ(result.summary.lastRow, 11);
  EXPECT_EQ(result.summary.rowsRead, 9);
  EXPECT_EQ(result.summary.contractsStored, 9);
  EXPECT_EQ(result.summary.rowsRefused, 0);
  EXPECT_EQ(Count("documents", "doc_userid = 7 AND doc_type = 1002"), 9);
  EXPECT_EQ(Count("anecs"), 9);
  EXPECT_EQ(Count("storage"), 9);
  EXPECT_GT(Count("rentsinfo"), 9 * 12);
}

TEST_F(ImportRunTest, OneEmptyRowIsReadTwoEndTheRun) {
  RunResult result =
      Import({ContractRow("1", "7001010011"), EmptyRow(), ContractRow("2", "7001010027")});
  EXPECT_EQ(result.summary.contractsStored, 2);
  ASSERT_EQ(Lines().size(), 1u);  // the empty row 3 is read and has no tenant
  EXPECT_EQ(Lines()[0],
            "FATAL : Липсва Име на наемател или ЕГН/Булстат/ИН по ДДС на ред "
            "номер : 3");

  result = Import(
      {ContractRow("3", "7001010032"), EmptyRow(), EmptyRow(), ContractRow("4", "7001010048")});
  EXPECT_EQ(result.summary.contractsStored, 1);
  EXPECT_EQ(result.summary.lastRow, 3);
  EXPECT_TRUE(Lines().empty());
  EXPECT_EQ(Count("documents", "doc_nomtxt = '4'"), 0);
}

TEST_F(ImportRunTest, EmptyRowsAreSkippedWhileNoContractNumberIsKnown) {
  // Before the first contract the skip rule passes over empty rows, so they
  // cannot stop the run.
  RunResult result = Import({EmptyRow(), EmptyRow(), EmptyRow(), ContractRow("1", "7001010011")});
  EXPECT_EQ(result.summary.contractsStored, 1);
  EXPECT_EQ(result.summary.rowsRead, 1);

  // A tenant failure clears the number again: the empty rows after it are
  // skipped as well.
  result = Import({ContractRow("2", "7001010027", {{"D", Cell()}}), EmptyRow(), EmptyRow(),
                   ContractRow("3", "7001010032")});
  EXPECT_EQ(result.summary.contractsStored, 1);
  EXPECT_EQ(Count("documents", "doc_nomtxt = '3'"), 1);
  EXPECT_EQ(Lines().size(), 1u);
}

TEST_F(ImportRunTest, RowsRepeatingANumberAreItsAnnexes) {
  const RunResult result =
      Import({ContractRow("10", "7001010010"), AnnexRow("10", Cell::Date(2007, 6, 1)),
              AnnexRow("10", Cell::Date(2007, 9, 1), {{"AD", 150}})});
  EXPECT_EQ(result.summary.contractsStored, 1);
  EXPECT_EQ(result.summary.rowsRead,
            1);  // rows 3 and 4 are skipped by the loop
  EXPECT_EQ(result.summary.annexesStored, 2);
  EXPECT_TRUE(Lines().empty());
  const std::string doc = Scalar("SELECT doc_id FROM documents");
  EXPECT_EQ(Count("anecs", "an_id = " + doc), 3);
  EXPECT_EQ(Count("anecs", "an_num = 2 AND an_price = 100"),
            1);  // the contract's price
  EXPECT_EQ(Count("anecs", "an_num = 3 AND an_price = 150"), 1);
  EXPECT_EQ(Scalar("SELECT an_dtstart FROM anecs WHERE an_num = 3"), "01.09.2007");
}

TEST_F(ImportRunTest, ARefusedAnnexUsesItsNumberUp) {
  const RunResult result =
      Import({ContractRow("10", "7001010010"), AnnexRow("10", Cell::Date(2007, 2, 1)),
              AnnexRow("10", Cell::Date(2007, 9, 1)), AnnexRow("10", "никога")});
  EXPECT_EQ(result.summary.annexesStored, 1);
  EXPECT_EQ(result.summary.annexesDropped, 2);
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         "WARNING : Липсва <>Датата на влизане в сила на анекс е по-ранна от "
                         "предишната(Анексът не е записан) на ред номер : 3",
                         "WARNING : Липсва Дата на влизане в сила на анекс(Анексът не е "
                         "записан) на ред номер : 5"}));
  EXPECT_EQ(Count("anecs"), 2);
  EXPECT_EQ(Count("anecs", "an_num = 3"), 1);
}

TEST_F(ImportRunTest, TenantFailureReadsNoContractSoTheNextRowIsAContractOfItsOwn) {
  // Row 3 lacks the tenant's name and number and the contract number: only the
  // tenant's line, the contract group is not read. (Row 2 gives the skip rule a
  // number to compare with.)
  RunResult result =
      Import({ContractRow("19", "9001011330"), ContractRow("", "", {{"D", Cell()}, {"C", Cell()}}),
              ContractRow("20", "9001011351", {{"D", Cell()}}), ContractRow("20", "9001011367")});
  EXPECT_EQ(Lines(),
            (std::vector<std::string>{"FATAL : Липсва Име на наемател или ЕГН/Булстат/ИН по "
                                      "ДДС на ред номер : 3",
                                      "FATAL : Липсва Име на наемател или ЕГН/Булстат/ИН по "
                                      "ДДС на ред номер : 4"}));
  // Row 5 repeats the number of row 4, whose number was never read: it is a
  // contract.
  EXPECT_EQ(result.summary.contractsStored, 2);
  EXPECT_EQ(Count("documents", "doc_nomtxt = '20'"), 1);
  EXPECT_EQ(Count("persons", "per_egn = '9001011367'"), 1);

  // A row that fails in its contract group has its number read: the row below
  // is skipped.
  result =
      Import({ContractRow("30", "9001011237", {{"AD", Cell()}}), ContractRow("30", "9001011238")});
  EXPECT_EQ(result.summary.contractsStored, 0);
  EXPECT_EQ(Lines(), std::vector<std::string>{"FATAL : Липсва месечна цена(или въведената стойност "
                                              "е невалидна) на ред номер : 2"});
}

TEST_F(ImportRunTest, ContractGroupReportsEveryProblemOfTheRow) {
  Import({ContractRow("1", "7001010009"), ContractRow("", "7001010011",
                                                      {{"B", "31.02.2007"},
                                                       {"C", Cell()},
                                                       {"AC", "дванадесет"},
                                                       {"AD", "12a"},
                                                       {"AE", Cell()}})});
  EXPECT_EQ(Lines(),
            (std::vector<std::string>{"FATAL : Липсва вид наем на ред номер : 3",
                                      "FATAL : Липсва номер на договор на ред номер : 3",
                                      "FATAL : Липсва дата на съставяне(или въведената "
                                      "стойност е невалидна) на ред номер : 3",
                                      "FATAL : Липсва начало на договора(или въведената "
                                      "стойност е невалидна) на ред номер : 3",
                                      "FATAL : Липсва месечна цена(или въведената стойност "
                                      "е невалидна) на ред номер : 3",
                                      "FATAL : Липсва Срок на договора на ред номер : 3"}));
  EXPECT_EQ(Count("persons", "per_egn = '7001010011'"), 0);
}

TEST_F(ImportRunTest, DatabaseErrorOnTheThirdOfFiveRowsLeavesOnlyItsClassifierEntries) {
  std::vector<Row> rows = FiveContracts();
  // Row 4 names a new street, and the database refuses its contract.
  rows[2] = ContractRow("N3", "7001010032", {{"W", "ул. Трета"}});
  database.Exec(
      "ALTER TABLE documents ADD CONSTRAINT ck_test_n3 CHECK (doc_nomtxt <> "
      "'N3')");
  const RunResult result = Import(rows);

  EXPECT_EQ(result.outcome, RunOutcome::kFinished);
  EXPECT_EQ(result.summary.contractsStored, 4);
  EXPECT_EQ(result.summary.rowsRefused, 1);
  EXPECT_EQ(Count("documents"), 4);
  EXPECT_EQ(Count("documents", "doc_nomtxt IN ('N1', 'N2', 'N4', 'N5')"), 4);
  EXPECT_EQ(Count("persons", "per_egn = '7001010032'"), 0);
  EXPECT_EQ(Count("imot"), 4);
  EXPECT_EQ(Count("anecs"), 4);
  EXPECT_EQ(Count("storage"), 4);
  EXPECT_EQ(Count("ul_kl", "ul_text = 'ул. Трета'"),
            1);  // committed on its own, stays

  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].rfind("Проблем при запис в БД на ред : 4 ", 0), 0u);
  ASSERT_EQ(Lines().size(), 1u);
  EXPECT_EQ(Lines()[0].rfind("FATAL : Липсва ", 0), 0u);
  EXPECT_NE(Lines()[0].find(" на ред номер : 4"), std::string::npos);
  EXPECT_EQ(Lines()[0].find('\n'), std::string::npos);

  ASSERT_EQ(LogFiles().size(), 1u);
  EXPECT_EQ(result.summary.logFile, LogFiles()[0]);
  std::string expected;
  ASSERT_TRUE(TryUtf8ToCp1251(Lines()[0] + "\r\n", expected));
  EXPECT_EQ(ReadFile(LogFiles()[0]), expected);
}

// A log that cannot be written is shown and named in the summary with its
// reason; the run finishes all the same.
TEST_F(ImportRunTest, LogThatCannotBeWrittenIsReported) {
  ImportOptions options;
  options.logFolder = folder + "/missing";
  const RunResult result = Import({ContractRow("N1", "7001010003", {{"AC", "abc"}})}, options);
  EXPECT_EQ(result.outcome, RunOutcome::kFinished);
  EXPECT_TRUE(result.summary.logFile.empty());
  EXPECT_EQ(result.summary.logProblem.rfind(
                "Лог файлът не може да се запише в " + folder + "/missing/log_", 0),
            0u)
      << result.summary.logProblem;
  EXPECT_NE(result.summary.logProblem.find(": няма такъв файл или папка."), std::string::npos);
  // The refused rows' workbook cannot be written there either: both are told.
  EXPECT_NE(std::find(messages.shown.begin(), messages.shown.end(), result.summary.logProblem),
            messages.shown.end());
}

TEST_F(ImportRunTest, CleanRunWritesNoLog) {
  const RunResult result = Import(FiveContracts());
  EXPECT_EQ(result.summary.contractsStored, 5);
  EXPECT_TRUE(Lines().empty());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(LogFiles().empty());
  EXPECT_TRUE(result.summary.logFile.empty());
}

TEST_F(ImportRunTest, MunicipalityAndWorkbookChecksBeforeAnythingIsRead) {
  Import({ContractRow("1", "7001010011", {{"D", Cell()}})});  // leaves one line in the list
  ASSERT_EQ(Lines().size(), 1u);

  RunResult result = Import(FiveContracts(), {.municipality = "Атлантида"});
  EXPECT_EQ(result.outcome, RunOutcome::kNotStarted);
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>{"Невалидна община", "Моля, въведете името на общината"}));
  EXPECT_EQ(Lines().size(), 1u);  // the previous run's list stays

  result = Import(FiveContracts(), {.municipality = ""});
  EXPECT_EQ(result.outcome, RunOutcome::kNotStarted);
  EXPECT_EQ(messages.shown.back(), "Моля, въведете името на общината");

  result = run->Run({}, [] { return std::optional<std::string>(); });
  EXPECT_EQ(result.outcome, RunOutcome::kCancelled);
  result = ImportFile(folder + "/missing.xls");
  EXPECT_EQ(result.outcome, RunOutcome::kCancelled);
  EXPECT_EQ(Lines().size(), 1u);
  EXPECT_EQ(messages.shown.size(), 3u);

  const std::string notABook = folder + "/notes.xls";
  std::ofstream(notABook) << "not a workbook";
  result = ImportFile(notABook);
  EXPECT_EQ(result.outcome, RunOutcome::kNotStarted);
  EXPECT_FALSE(result.reason.empty());
  EXPECT_EQ(messages.shown.back(), result.reason);
  EXPECT_EQ(Count("documents"), 0);

  // A municipality typed in lower case is found; the import goes on.
  result = Import(FiveContracts(), {.municipality = "русе"});
  EXPECT_EQ(result.summary.contractsStored, 5);
  EXPECT_EQ(Count("obsh_kl"), 1);
}

// Counts the observer's calls.
struct CountingObserver : ImportObserver {
  void ListCleared() override { ++cleared; }
  void LineAdded(const std::string& line) override { lines.push_back(line); }
  void RowsStarting(int total) override { rowsTotal = total; }
  void RowDone(int row, int done, int total) override {
    EXPECT_EQ(total, rowsTotal);
    EXPECT_EQ(done, ++rowsDone);
    lastRow = row;
  }
  int cleared = 0, rowsTotal = -1, rowsDone = 0, lastRow = 0;
  std::vector<std::string> lines;
};

TEST_F(ImportRunTest, ObserverSeesTheListGrowAndEveryRowDone) {
  CountingObserver observer;
  const RunResult result =
      Import({ContractRow("1", "7001010011"), ContractRow("2", "7001010027", {{"T", " "}}),
              ContractRow("3", "7001010032")},
             {}, &observer);
  EXPECT_EQ(observer.cleared, 1);
  EXPECT_EQ(observer.rowsTotal, 4);
  EXPECT_EQ(observer.lastRow, 4);  // row 5 stops the run before it is done
  EXPECT_EQ(observer.lines, Lines());
  EXPECT_EQ(
      observer.lines,
      std::vector<std::string>{"FATAL : Липсва Населено място или не е валидно  на ред номер : 3"});
  EXPECT_EQ(result.summary.contractsStored, 2);
}

// Asks the run to stop at its n-th question (one before every row, one before
// every commit).
struct StoppingObserver : ImportObserver {
  explicit StoppingObserver(int n) : stopAt(n) {}
  bool StopRequested() override { return ++asked == stopAt; }
  int stopAt, asked = 0;
};

TEST_F(ImportRunTest, StopRequestEndsTheRunAtARowBoundary) {
  struct Case {
    std::string first, second;  // contract numbers of rows 2 and 3
    int stopAt;                 // question that answers yes
    std::vector<std::string> stored;
    int row;  // the row named in the list
  };
  const Case cases[] = {
      {"1", "2", 2, {}, 2},     // before row 2 commits: rolled back
      {"3", "4", 3, {"3"}, 3},  // between rows 2 and 3
  };
  // Personal numbers with valid check digits, by contract number.
  const std::map<std::string, std::string> egn = {
      {"1", "7001010011"}, {"2", "7001010027"}, {"3", "7001010032"}, {"4", "7001010048"}};
  for (const Case& c : cases) {
    StoppingObserver observer(c.stopAt);
    const RunResult result =
        Import({ContractRow(c.first, egn.at(c.first)), ContractRow(c.second, egn.at(c.second))}, {},
               &observer);
    EXPECT_EQ(result.outcome, RunOutcome::kInterrupted) << c.first;
    EXPECT_EQ(Lines(), std::vector<std::string>{"Импортирането е прекъснато на ред " +
                                                std::to_string(c.row) + "."});
    EXPECT_EQ(result.summary.logFile.empty(), false) << c.first;
    for (const std::string& number : {c.first, c.second}) {
      const bool wanted = std::find(c.stored.begin(), c.stored.end(), number) != c.stored.end();
      EXPECT_EQ(Count("documents", "doc_nomtxt = '" + number + "'"), wanted ? 1 : 0);
      EXPECT_EQ(Count("persons", "per_egn = '" + egn.at(number) + "'"), wanted ? 1 : 0);
    }
  }
}

}  // namespace
}  // namespace zrv::import
