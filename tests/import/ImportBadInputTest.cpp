// Workbooks and databases that go wrong: every problem ends as a line of the
// list or a message, no row is half-stored, and the run still ends with its
// summary.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/db/Firebird.h"
#include "tests/import/ImportRunFixture.h"

namespace zrv::import {
namespace {

class ImportBadInputTest : public ImportRunTest {
 protected:
  // Nothing of the contracts with these numbers, their tenants or their file
  // links is stored.
  void ExpectNothingOf(const std::vector<std::string>& numbers,
                       const std::vector<std::string>& egns) {
    for (const auto& n : numbers) EXPECT_EQ(Count("documents", "doc_nomtxt = '" + n + "'"), 0) << n;
    for (const auto& e : egns) EXPECT_EQ(Count("persons", "per_egn = '" + e + "'"), 0) << e;
  }
};

TEST_F(ImportBadInputTest, EveryRowWrong) {
  const RunResult result = Import({
      ContractRow("1", "7001010011", {{"D", Cell()}}),
      ContractRow("2", "7001010027", {{"AE", "утре"}}),
      ContractRow("3", "7001010032", {{"T", Cell()}}),
      ContractRow("4", "7001010048", {{"C", Cell()}, {"AD", "сто"}}),
  });
  EXPECT_EQ(result.outcome, RunOutcome::kFinished);
  EXPECT_EQ(result.summary.rowsRead, 4);
  EXPECT_EQ(result.summary.rowsRefused, 4);
  EXPECT_EQ(result.summary.contractsStored, 0);
  EXPECT_EQ(Lines().size(), 5u);
  for (const char* table : {"documents", "anecs", "persons", "imot", "storage", "rentsinfo"}) {
    EXPECT_EQ(Count(table), 0) << table;
  }
  ASSERT_EQ(LogFiles().size(), 1u);
  const std::string log = ReadFile(LogFiles()[0]);
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 5);
  EXPECT_EQ(std::count(log.begin(), log.end(), '\r'), 5);
  EXPECT_TRUE(messages.shown.empty());  // data problems are lines, not message boxes
}

TEST_F(ImportBadInputTest, SixtyThousandEmptyLookingRows) {
  std::vector<Row> rows(60000, MakeRow({{"A", " "}, {"B", "  "}, {"AE", Cell::Blank("@")}}));
  rows.push_back(ContractRow("1", "7001010011"));
  const auto began = std::chrono::steady_clock::now();
  const RunResult result = Import(rows);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  // No contract number is known yet, so the blank rows are skipped, not read,
  // and cannot stop the run: it reaches the contract at the end.
  EXPECT_EQ(result.summary.rowsRead, 1);
  EXPECT_EQ(result.summary.contractsStored, 1);
  EXPECT_EQ(result.summary.lastRow, 60003);
  EXPECT_TRUE(Lines().empty());
  RecordProperty("seconds", std::to_string(seconds));
}

TEST_F(ImportBadInputTest, TextsTheDatabaseCannotHoldFailOnlyTheirRow) {
  const RunResult result = Import({
      ContractRow("1", "7001010011", {{"Q", "бележка 中文"}}),         // contract text
      ContractRow("2", "7001010027", {{"W", "ул. 東京"}}),             // a new street
      ContractRow("3", "7001010032", {{"D", std::string(300, 'N')}}),  // too long a name
      ContractRow("4", "7001010048"),
  });
  EXPECT_EQ(result.outcome, RunOutcome::kFinished);
  EXPECT_EQ(result.summary.contractsStored, 1);
  EXPECT_EQ(result.summary.rowsRefused, 3);
  ExpectNothingOf({"1", "2", "3"}, {"7001010011", "7001010027", "7001010032"});
  EXPECT_EQ(Count("imot"), 1);
  EXPECT_EQ(Count("ul_kl"), 0);
  EXPECT_EQ(Count("documents", "doc_nomtxt = '4'"), 1);

  // Every text is refused before writing, with its column and its limit.
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         "FATAL : Липсва коментар(колона Q: най-много 1000 знака, само "
                         "от кодовата таблица Windows-1251) на ред номер : 2",
                         "FATAL : Липсва улица(колона W: най-много 250 знака, само от "
                         "кодовата таблица Windows-1251) на ред номер : 3",
                         "FATAL : Липсва име на наемателя(колона D: най-много 250 "
                         "знака, само от кодовата таблица Windows-1251) на ред номер : "
                         "4"}));
  EXPECT_TRUE(messages.shown.empty());
}

// Person and property texts the database cannot hold are refused by their
// column before any statement, also an identity number in full-width digits.
TEST_F(ImportBadInputTest, PersonAndPropertyTextsNameTheirColumn) {
  const std::pair<Cells, const char*> cases[] = {
      {{{"H", std::string(5000, 'a')}}, "адрес на наемателя(колона H: най-много 250"},
      {{{"E", "７００１０１００２７"}}, "ЕГН/Булстат(колона E: най-много 50"},
      {{{"I", "Иван"}, {"K", "л.к. ☎"}}, "лична карта на представителя(колона K"},
      {{{"X", std::string(101, '7')}}, "номер(колона X: най-много 100"},
      {{{"V", "Ĉ"}}, "жилищен комплекс(колона V: най-много 250"},
  };
  const char* const numbers[] = {"7001010009", "7001010011", "7001010027", "7001010032",
                                 "7001010048"};
  std::vector<Row> rows;
  for (const auto& [cells, line] : cases)
    rows.push_back(ContractRow(std::to_string(rows.size() + 1), numbers[rows.size()], cells));
  const RunResult result = Import(rows);
  EXPECT_EQ(result.summary.rowsRefused, static_cast<int>(rows.size()));
  ASSERT_EQ(Lines().size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i)
    EXPECT_EQ(Lines()[i].rfind(std::string("FATAL : Липсва ") + cases[i].second, 0), 0u)
        << Lines()[i];
  EXPECT_EQ(Count("persons"), 0);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ImportBadInputTest, ConnectionLostDuringTheRun) {
  // After row 3 is done the connection goes, with rows 2 and 3 in the open
  // batch: the run stops, and reports as stored only what was committed.
  struct Cut : ImportObserver {
    explicit Cut(db::Connection& c) : connection(c) {}
    void RowDone(int row, int, int) override {
      if (row == 3) connection.Close();
    }
    db::Connection& connection;
  } cut(database.Connection());
  const RunResult result = Import({ContractRow("1", "7001010011"), ContractRow("2", "7001010027"),
                                   ContractRow("3", "7001010032"), ContractRow("4", "7001010048")},
                                  {}, &cut);
  EXPECT_EQ(result.outcome, RunOutcome::kConnectionLost);
  EXPECT_EQ(result.summary.contractsStored, 0);
  EXPECT_NE(result.reason.find("Няма записан ред"), std::string::npos) << result.reason;
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], result.reason);
  EXPECT_EQ(LogFiles().size(), 1u);

  database.Connection().Open(db::ConnectParams{"SYSDBA", "masterkey", database.Path()});
  EXPECT_EQ(Count("documents"), 0);
  EXPECT_EQ(Count("persons"), 0);
}

TEST_F(ImportBadInputTest, ClassifierRowLockedByAnotherWorkstation) {
  // Another connection adds street 1 and holds it uncommitted; the run reads
  // the same free id, waits for the other transaction, meets the duplicate id
  // and takes the next one: both rows are stored, each street once.
  auto other = db::MakeFirebirdConnection();
  other->Open(db::ConnectParams{"SYSDBA", "masterkey", database.Path()});
  other->StartTransaction();
  auto insert = other->NewQuery();
  insert->SetSQL("INSERT INTO ul_kl (ul_id, ul_text) VALUES (1, 'ул. Чужда')");
  insert->Execute();
  std::thread committer([&other] {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    other->Commit();
  });
  const RunResult result =
      Import({ContractRow("1", "7001010011", {{"W", "ул. Нова"}}), ContractRow("2", "7001010027")});
  committer.join();

  EXPECT_EQ(result.outcome, RunOutcome::kFinished);
  EXPECT_EQ(result.summary.contractsStored, 2);
  EXPECT_EQ(Count("ul_kl", "ul_id = 2 AND ul_text = 'ул. Нова'"), 1);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(Lines().empty());
}

}  // namespace
}  // namespace zrv::import
