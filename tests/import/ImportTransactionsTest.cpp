// The transactions of a run: one commit per contract row, and a dry run that
// leaves the database as it found it.

#include <gtest/gtest.h>

#include <map>

#include "platform/db/Firebird.h"
#include "tests/import/ImportRunFixture.h"

namespace zrv::import {
namespace {

class ImportTransactionsTest : public ImportRunTest {
 protected:
  // The number of rows of every table of the schema.
  std::map<std::string, int> TableCounts() {
    std::map<std::string, int> counts;
    auto query = database.Connection().NewQuery();
    query->SetSQL(
        "SELECT TRIM(rdb$relation_name) FROM rdb$relations WHERE "
        "rdb$system_flag = 0 AND rdb$view_blr IS NULL");
    query->Open();
    for (; !query->Eof(); query->Next()) {
      const std::string table = query->FieldAt(0).AsString();
      counts[table] = Count(table);
    }
    return counts;
  }

  db::ConnectionCounts Work() { return db::CountWork(database.Connection()); }
};

// A workbook that stores, refuses and adds classifier entries: a new rent
// type and a new street, an annex, a contract with a mistake.
std::vector<Row> MixedRows() {
  return {ContractRow("1", "7001010001", {{"C", "Наем гараж"}, {"W", "ул. Нова"}}),
          AnnexRow("1", Cell::Date(2007, 8, 1), {{"AD", 120}}),
          ContractRow("2", "7001010002", {{"AC", "много"}}),
          ContractRow("3", "7001010003", {{"W", "ул. Нова"}})};
}

// Further rows share their batch's commit and prepare no statement: every
// statement a row runs takes the row's values as parameters.
TEST_F(ImportTransactionsTest, FurtherContractRowsShareTheBatchCommit) {
  const auto workOf = [this](const std::vector<Row>& rows) {
    const db::ConnectionCounts before = Work();
    const RunResult result = Import(rows);
    EXPECT_EQ(result.summary.rowsRefused, 0);
    const db::ConnectionCounts after = Work();
    return std::pair(after.committed - before.committed, after.prepared - before.prepared);
  };
  // Classifier entries are added, and statements prepared, by the first run
  // only.
  const auto one = workOf({ContractRow("1", "7001010001"), AnnexRow("1", Cell::Date(2007, 8, 1))});
  const auto once = workOf({ContractRow("2", "7001010002"), AnnexRow("2", Cell::Date(2007, 8, 1))});
  const auto four = workOf({ContractRow("3", "7001010003"), ContractRow("4", "7001010004"),
                            AnnexRow("4", Cell::Date(2007, 8, 1)), ContractRow("5", "7001010005"),
                            ContractRow("6", "7001010006")});
  EXPECT_GE(one.first, once.first);
  EXPECT_EQ(four.first, once.first);
  EXPECT_EQ(four.second, once.second);
}

// A new street named by two rows of one batch is looked for apart once: the
// second row's snapshot is older than the entry, the run remembers it.
TEST_F(ImportTransactionsTest, ANewEntryCostsOneShortTransactionPerRun) {
  const auto commitsOf = [this](const std::vector<Row>& rows) {
    const long before = Work().committed;
    Import(rows);
    return Work().committed - before;
  };
  Import({ContractRow("1", "7001010001")});  // the run's other entries
  const long once = commitsOf({ContractRow("2", "7001010002", {{"W", "ул. Първа"}})});
  const long twice = commitsOf({ContractRow("3", "7001010003", {{"W", "ул. Втора"}}),
                                ContractRow("4", "7001010004", {{"W", "ул. Втора"}})});
  EXPECT_EQ(twice, once);
}

TEST_F(ImportTransactionsTest, DryRunLeavesNothingAndMatchesTheRealRun) {
  const std::map<std::string, int> before = TableCounts();
  ImportOptions check;
  check.checkOnly = true;
  const RunResult dry = Import(MixedRows(), check);
  const std::vector<std::string> dryLines = Lines();
  EXPECT_EQ(TableCounts(), before);
  EXPECT_TRUE(dry.summary.checkOnly);
  EXPECT_FALSE(dry.summary.logFile.empty());
  EXPECT_FALSE(database.Connection().InTransaction());

  const RunResult real = Import(MixedRows());
  EXPECT_FALSE(real.summary.checkOnly);
  EXPECT_EQ(Lines(), dryLines);
  ASSERT_FALSE(dryLines.empty());
  const auto figures = [](const ImportSummary& s) {
    return std::vector<int>{s.rowsRead,      s.contractsStored, s.rowsRefused,
                            s.annexesStored, s.annexesDropped,  s.classifierEntriesAdded};
  };
  EXPECT_EQ(figures(dry.summary), figures(real.summary));
  EXPECT_EQ(real.summary.contractsStored, 2);
  EXPECT_EQ(Count("renttypes", "rt_text = 'Наем гараж'"), 1);
  EXPECT_NE(TableCounts(), before);
}

// A dry run's keys would stay locked until the whole run ends and hold up a
// real import of the same rows on another workstation: it claims none.
TEST_F(ImportTransactionsTest, DryRunClaimsNoContractKey) {
  struct KeysSeen : ImportObserver {
    explicit KeysSeen(test::TestDatabase& db) : db(db) {}
    void RowDone(int, int, int) override {
      keys.push_back(db.ScalarInt("SELECT COUNT(*) FROM contract_keys"));
    }
    test::TestDatabase& db;
    std::vector<int> keys;
  } seen(database);
  ImportOptions check;
  check.checkOnly = true;
  const RunResult dry = Import(MixedRows(), check, &seen);
  EXPECT_EQ(dry.summary.contractsStored, 2);
  EXPECT_EQ(seen.keys, std::vector<int>(seen.keys.size(), 0));
  EXPECT_FALSE(seen.keys.empty());
}

// A box waits for the clerk; the row's locks must not wait with it. Here the
// link to the scanned contract fails, and both of the row's boxes come after
// its rollback, in order.
TEST_F(ImportTransactionsTest, NoMessageBoxWhileARowHoldsItsTransaction) {
  struct Boxes : ui::Messages {
    explicit Boxes(db::Connection& db) : db(db) {}
    void ShowMessage(const std::string& text) override {
      shown.push_back(text.substr(0, text.find(" : ")) +
                      (db.InTransaction() ? " (in transaction)" : ""));
    }
    db::Connection& db;
    std::vector<std::string> shown;
  } boxes(database.Connection());
  database.Exec("ALTER TABLE storage ADD CONSTRAINT ck_no_links CHECK (st_num < 0)");
  ImportRun run(RunContext{database.Connection(), kUserId}, boxes);
  run.Start();
  ImportOptions options;
  options.logFolder = folder;
  const std::string path = Workbook({ContractRow("1", "7001010001")});
  const RunResult result = run.Run(options, [&] { return std::optional<std::string>(path); });
  EXPECT_EQ(result.summary.rowsRefused, 1);
  EXPECT_EQ(boxes.shown, (std::vector<std::string>{"Проблем при записа на връзка към FTP файл",
                                                   "Проблем при запис в БД на ред"}));
}

}  // namespace
}  // namespace zrv::import
