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

  long Commits() { return db::CountWork(database.Connection()).committed; }
};

// A workbook that stores, refuses and adds classifier entries: a new rent
// type and a new street, an annex, a contract with a mistake.
std::vector<Row> MixedRows() {
  return {
      ContractRow("1", "7001010001", {{"C", "Наем гараж"}, {"W", "ул. Нова"}}),
      AnnexRow("1", Cell::Date(2007, 8, 1), {{"AD", 120}}),
      ContractRow("2", "7001010002", {{"AC", "много"}}),
      ContractRow("3", "7001010003", {{"W", "ул. Нова"}})};
}

TEST_F(ImportTransactionsTest, EveryFurtherContractRowCostsOneCommit) {
  const auto commitsOf = [this](const std::vector<Row>& rows) {
    const long before = Commits();
    const RunResult result = Import(rows);
    EXPECT_EQ(result.summary.rowsRefused, 0);
    return Commits() - before;
  };
  // Classifier entries are added by the first run only.
  const long one = commitsOf({ContractRow("1", "7001010001")});
  const long once = commitsOf({ContractRow("2", "7001010002")});
  const long four = commitsOf(
      {ContractRow("3", "7001010003"), ContractRow("4", "7001010004"),
       AnnexRow("4", Cell::Date(2007, 8, 1)), ContractRow("5", "7001010005"),
       ContractRow("6", "7001010006")});
  EXPECT_GE(one, once);
  EXPECT_EQ(four - once, 3);
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
    return std::vector<int>{s.rowsRead,       s.contractsStored,
                            s.rowsRefused,    s.annexesStored,
                            s.annexesDropped, s.classifierEntriesAdded};
  };
  EXPECT_EQ(figures(dry.summary), figures(real.summary));
  EXPECT_EQ(real.summary.contractsStored, 2);
  EXPECT_EQ(Count("renttypes", "rt_text = 'Наем гараж'"), 1);
  EXPECT_NE(TableCounts(), before);
}

}  // namespace
}  // namespace zrv::import
