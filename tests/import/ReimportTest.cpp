// The register lives on: a workbook imported again adds the annex rows its
// stored contracts do not have yet, and says where it differs from them.

#include <gtest/gtest.h>

#include "platform/workbook/Workbook.h"
#include "tests/import/ImportRunFixture.h"

namespace zrv::import {
namespace {

class ReimportTest : public ImportRunTest {
 protected:
  // Three contracts of 36 months from 01.01.2023, one annex each from
  // 01.01.2024 at 150.
  static std::vector<Row> Register(const std::vector<Row>& extraUnderFirst,
                                   const Cells& firstCells = {}) {
    const Cells term = {{"AE", Cell::Date(2023, 1, 1)}, {"AC", 36}};
    std::vector<Row> rows = {ContractRow("R1", "7001010011", Join(term, firstCells)),
                             AnnexRow("R1", Cell::Date(2024, 1, 1), {{"AD", 150}})};
    rows.insert(rows.end(), extraUnderFirst.begin(), extraUnderFirst.end());
    for (const char* n : {"R2", "R3"}) {
      rows.push_back(ContractRow(n, n == std::string("R2") ? "7001010027" : "7001010032", term));
      rows.push_back(AnnexRow(n, Cell::Date(2024, 1, 1), {{"AD", 150}}));
    }
    return rows;
  }

  std::string ScheduleOfR1(int year, int month) {
    return Scalar(
        "SELECT ri_price FROM rentsinfo r JOIN documents d ON d.doc_id = "
        "r.ri_docid WHERE d.doc_nomtxt = 'R1' AND ri_year = " +
        std::to_string(year) + " AND ri_month = " + std::to_string(month));
  }
};

TEST_F(ReimportTest, ANewAnnexRowIsStoredOnTheStoredContract) {
  ASSERT_EQ(Import(Register({})).summary.contractsStored, 3);
  const RunResult again = Import(Register({AnnexRow("R1", Cell::Date(2024, 7, 1), {{"AD", 999}})}));
  EXPECT_EQ(again.summary.contractsStored, 0);
  EXPECT_EQ(again.summary.rowsSkipped, 3);
  EXPECT_EQ(again.summary.annexesStored, 1);
  EXPECT_EQ(again.summary.annexesSkipped, 3);
  EXPECT_EQ(again.summary.annexesDropped, 0);
  EXPECT_EQ(Count("documents"), 3);
  EXPECT_EQ(Count("anecs a JOIN documents d ON d.doc_id = a.an_id", "d.doc_nomtxt = 'R1'"), 3);
  EXPECT_EQ(ScheduleOfR1(2024, 6), "150");
  EXPECT_EQ(ScheduleOfR1(2024, 8), "999");
  EXPECT_TRUE(again.summary.refusedRowsFile.empty());

  // A third time: nothing new, every annex row skipped quietly.
  const RunResult third = Import(Register({AnnexRow("R1", Cell::Date(2024, 7, 1), {{"AD", 999}})}));
  EXPECT_EQ(third.summary.annexesStored, 0);
  EXPECT_EQ(third.summary.annexesSkipped, 4);
  EXPECT_EQ(Count("anecs"), 7);
}

// Annex rows that contradict what is stored are refused by their row and
// written with their contract row for correction; a contract row whose cells
// differ from the stored contract names the columns and changes nothing.
TEST_F(ReimportTest, WhatDiffersFromTheStoredContractIsRefusedOrNamed) {
  Import(Register({}));
  const std::string before = Scalar("SELECT LIST(doc_price || '/' || doc_datastop) FROM documents");
  const RunResult again =
      Import(Register({AnnexRow("R1", Cell::Date(2023, 6, 1), {{"AD", 120}}),   // before
                       AnnexRow("R1", Cell::Date(2024, 1, 1), {{"AD", 151}})},  // differs
                      {{"AD", 101}, {"AC", 48}}));
  EXPECT_EQ(again.summary.annexesStored, 0);
  EXPECT_EQ(again.summary.annexesDropped, 2);
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         "WARNING : Договорът вече е записан на ред номер : 2",
                         "WARNING : Договорът вече е записан с други стойности в колони "
                         "AD, AC(записаните стойности не са променени) на ред номер : 2",
                         "WARNING : Липсва <>Датата на влизане в сила на анекс е "
                         "по-ранна от предишната(Анексът не е записан) на ред номер : 4",
                         "WARNING : Анексът се различава от записания анекс със същото "
                         "начало(Анексът не е записан) на ред номер : 5",
                         "WARNING : Договорът вече е записан на ред номер : 6",
                         "WARNING : Договорът вече е записан на ред номер : 8"}));
  EXPECT_EQ(Scalar("SELECT LIST(doc_price || '/' || doc_datastop) FROM "
                   "documents"),
            before);
  EXPECT_EQ(Count("anecs"), 6);
  ASSERT_FALSE(again.summary.refusedRowsFile.empty());
  const auto refused = workbook::OpenFirstWorksheet(again.summary.refusedRowsFile);
  EXPECT_EQ(refused->UsedRowCount(), 4);  // header, R1, its refused annex rows
  EXPECT_EQ(refused->CellText("A2"), "R1");
  EXPECT_EQ(refused->CellText("AE3"), "01.06.2023");
}

}  // namespace
}  // namespace zrv::import
