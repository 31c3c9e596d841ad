// The workbook of refused rows: imported as it is it refuses the same rows for
// the same reasons and stores nothing else; corrected, it stores what the
// corrected original stores. And the same contracts saved as .ods store the
// same.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "common/Text.h"
#include "import/RefusedRows.h"
#include "platform/workbook/CellAddress.h"
#include "platform/workbook/SheetData.h"
#include "platform/workbook/StreamedSheet.h"
#include "platform/workbook/TextWorkbookWriter.h"
#include "platform/workbook/Workbook.h"
#include "tests/import/ImportRunFixture.h"
#include "tests/support/OdsFiles.h"

namespace zrv::import {
namespace {

// Contract 2 lacks its rent type and has an annex row; contract 4 has a rent
// that is no number and a street number with leading zeros; contract 3 is
// stored, only its annex is refused (and written with its contract row).
// `fixed` gives the corrected original.
std::vector<Row> Contracts(bool fixed) {
  const Cell rentType = fixed ? Cell("Наем терен") : Cell();
  const Cell rent = fixed ? Cell(100) : Cell("сто");
  return {ContractRow("1", "7501010010"),
          ContractRow("2", "7501010025", {{"C", rentType}}),
          AnnexRow("2", Cell::Date(2007, 7, 1), {{"AD", 120}}),
          ContractRow("3", "7501010030"),
          AnnexRow("3", Cell::Date(2007, 1, 1)),
          ContractRow("4", "7501010046",
                      {{"AD", rent}, {"X", Cell("007").WithFormat("@")}, {"AJ", "допълнение"}})};
}

// The error lines without their row numbers, which differ between the files.
std::vector<std::string> Subjects(const std::vector<std::string>& lines) {
  std::vector<std::string> subjects;
  for (const auto& line : lines)
    subjects.push_back(std::regex_replace(line, std::regex(" : [0-9]+$"), ""));
  return subjects;
}

// What a database holds of the imported contracts, independent of ids.
std::vector<std::string> Stored(test::TestDatabase& db) {
  std::vector<std::string> facts;
  for (const char* table :
       {"documents", "anecs", "persons", "imot", "storage", "rentsinfo", "nm_kl", "objtype_kl"}) {
    facts.push_back(std::string(table) + " " +
                    db.Scalar(std::string("SELECT COUNT(*) FROM ") + table));
  }
  for (const char* n : {"1", "2", "3", "4"}) {
    const std::string where = " FROM documents d WHERE d.doc_nomtxt = '" + std::string(n) + "'";
    facts.push_back(
        db.Scalar("SELECT d.doc_data || ';' || d.doc_datastart || ';' || "
                  "d.doc_datastop || ';' || d.doc_price || ';' || "
                  "COALESCE(d.doc_addtext, '') || ';' || (SELECT im_addressnom FROM "
                  "imot WHERE im_id = d.doc_imotid) || ';' || (SELECT COUNT(*) || '/' || "
                  "SUM(an_price) FROM anecs WHERE an_id = d.doc_id) || ';' || (SELECT "
                  "COUNT(*) || '/' || SUM(ri_price) FROM rentsinfo WHERE ri_docid = "
                  "d.doc_id)" +
                  where));
  }
  return facts;
}

class RefusedRowsTest : public ImportRunTest {
 protected:
  // What importing `path` into a new database stores.
  std::vector<std::string> StoredByNewDatabase(const std::string& path) {
    test::TestDatabase reference;
    ImportRun run(RunContext{reference.Connection(), kUserId}, messages);
    run.Start();
    ImportOptions options;
    options.logFolder = folder;
    run.Run(options, [&] { return std::optional<std::string>(path); });
    return Stored(reference);
  }
};

TEST_F(RefusedRowsTest, RefusedRowsWorkbookRefusesTheSameAndStoresWhenFixed) {
  const std::string original = Workbook(Contracts(false));
  const RunResult first = ImportFile(original);
  EXPECT_EQ(first.summary.contractsStored, 2);
  EXPECT_EQ(first.summary.rowsRefused, 2);
  ASSERT_FALSE(first.summary.refusedRowsFile.empty());
  EXPECT_EQ(first.summary.refusedRowsFile,
            first.summary.logFile.substr(0, first.summary.logFile.size() - 4) + ".xlsx");
  const std::vector<std::string> firstLines = Lines();

  // Header, contract 2 with its annex, contract 3 with its refused annex,
  // contract 4; the reasons in AK.
  const auto source = workbook::OpenFirstWorksheet(original);
  const auto refused = workbook::OpenFirstWorksheet(first.summary.refusedRowsFile);
  ASSERT_EQ(refused->UsedRowCount(), 6);
  EXPECT_EQ(refused->UsedColumnCount(), 37);
  const int fromRow[] = {1, 3, 4, 5, 6, 7};
  for (int r = 1; r <= 6; ++r) {
    for (int c = 1; c <= 36; ++c)
      EXPECT_EQ(refused->CellText(r, c), source->CellText(fromRow[r - 1], c)) << r << "/" << c;
  }
  EXPECT_EQ(refused->CellText("X6"), "007");
  EXPECT_EQ(refused->CellText("B2"), "15.01.2007");
  EXPECT_EQ(refused->CellText("AK1"), "Причина");
  EXPECT_EQ(refused->CellText("AK2"), firstLines[0]);
  EXPECT_EQ(refused->CellText("AK3"), "");
  EXPECT_EQ(refused->CellText("AK4"), firstLines[1]);
  EXPECT_NE(refused->CellText("AK6").find("месечна цена"), std::string::npos);

  // Imported as it is: the same refusals, nothing more stored (contract 3 is
  // stored already and its annex is refused again).
  const std::vector<std::string> before = Stored(database);
  const RunResult again = ImportFile(first.summary.refusedRowsFile);
  EXPECT_EQ(again.summary.contractsStored, 0);
  EXPECT_EQ(again.summary.rowsRefused, 2);
  EXPECT_EQ(again.summary.rowsSkipped, 1);
  EXPECT_EQ(again.summary.annexesDropped, 1);
  std::vector<std::string> expected = Subjects(firstLines);
  expected.insert(expected.begin() + 1, "WARNING : Договорът вече е записан на ред номер");
  EXPECT_EQ(Subjects(Lines()), expected);
  EXPECT_EQ(Stored(database), before);

  // Corrected where it stands: the same as the corrected original.
  workbook::TextRows rows;
  for (int r = 1; r <= 6; ++r) {
    rows.emplace_back();
    for (int c = 1; c <= 37; ++c) rows.back().push_back(refused->CellText(r, c));
  }
  rows[1][2] = "Наем терен";  // C
  rows[5][29] = "100";        // AD
  const std::string corrected = folder + "/corrected.xlsx";
  workbook::WriteTextWorkbook(corrected, rows);
  const RunResult fixedRun = ImportFile(corrected);
  EXPECT_EQ(fixedRun.summary.contractsStored, 2);
  EXPECT_EQ(fixedRun.summary.annexesStored, 1);
  EXPECT_EQ(fixedRun.summary.annexesDropped, 1);  // contract 3's, uncorrected
  EXPECT_EQ(Stored(database), StoredByNewDatabase(Workbook(Contracts(true), "fixed.xls")));
}

TEST_F(RefusedRowsTest, AnOdsWorkbookStoresWhatItsXlsxStores) {
  const std::string ods =
      test::MakeOdsCopy(Workbook(Contracts(true), "fixed.xlsx"), folder + "/fixed.ods");
  const RunResult result = ImportFile(ods);
  EXPECT_EQ(result.outcome, RunOutcome::kFinished);
  EXPECT_EQ(result.summary.contractsStored, 4);
  EXPECT_EQ(result.summary.annexesStored, 1);
  EXPECT_EQ(result.summary.annexesDropped, 1);
  EXPECT_FALSE(result.summary.refusedRowsFile.empty());  // contract 3's annex
  EXPECT_EQ(Stored(database), StoredByNewDatabase(folder + "/fixed.xlsx"));
}

// A stray cell far right makes the sheet 16,384 columns wide; the reason still
// goes right after the widest row written, and into the last column when a
// written row itself reaches it.
TEST(RefusedRowsWrite, TheReasonFollowsTheWidestRowWrittenWithinTheSheet) {
  const std::string folder = test::MakeTempFolder();
  const struct {
    int strayRow;
    int reasonColumn;
  } cases[] = {{3, 37}, {2, workbook::kMaxColumns}};
  for (const auto& c : cases) {
    workbook::SheetData sheet;
    sheet.Set(1, 1, "Номер");
    sheet.Set(2, 1, "2");
    sheet.Set(3, 1, "3");
    sheet.Set(c.strayRow, workbook::kMaxColumns, "x");
    sheet.Finish();
    RefusedRows refused;
    refused.AddRefused(2, {"FATAL : Липсва вид наем : 2"});
    refused.AddStored();
    const std::string path = folder + "/refused.xlsx";
    ASSERT_TRUE(refused.Write(path, sheet, 2)) << c.strayRow;
    const auto written = workbook::OpenFirstWorksheet(path);
    EXPECT_EQ(written->UsedColumnCount(), c.reasonColumn) << c.strayRow;
    EXPECT_EQ(written->CellText(1, c.reasonColumn), "Причина");
    EXPECT_EQ(written->CellText(2, c.reasonColumn), "FATAL : Липсва вид наем : 2");
  }
}

// A cell no .xlsx cell can hold no longer keeps the whole workbook from being
// written: it is cut, marked, and the row's reason says so.
TEST(RefusedRowsWrite, ACellBeyondTheFormatsLimitIsCutAndNamed) {
  workbook::SheetData sheet;
  sheet.Set(1, 1, "Номер");
  sheet.Set(2, 1, "2");
  sheet.Set(2, 17, std::string(40000, 'q'));
  sheet.Finish();
  RefusedRows refused;
  refused.AddRefused(2, {"FATAL : Липсва коментар : 2"});
  const std::string path = test::MakeTempFolder() + "/refused.xlsx";
  ASSERT_TRUE(refused.Write(path, sheet, 2));
  const auto written = workbook::OpenFirstWorksheet(path);
  const std::string cut = written->CellText("Q2");
  EXPECT_EQ(Utf8Length(cut), workbook::kMaxCellCharacters);
  const std::string end = "qq …[ОТРЯЗАНО]";
  EXPECT_EQ(cut.substr(cut.size() - end.size()), end);
  EXPECT_EQ(written->CellText("AK2"),
            "FATAL : Липсва коментар : 2\nКлетка Q е отрязана до 32767 знака "
            "(краят ѝ е отбелязан с …[ОТРЯЗАНО]).");
}

// A large sheet read again from its file that can no longer be read: the
// writing stops with the error instead of taking every cell for empty.
TEST(RefusedRowsWrite, ASheetThatCannotReadItsFileAgainIsAnError) {
  class LostStream : public workbook::CellStream {
   public:
    bool Next(workbook::StreamCell&) override {
      throw workbook::WorkbookError("the file has changed");
    }
  };
  const workbook::StreamedSheet sheet([] { return std::make_unique<LostStream>(); }, 3, 36);
  RefusedRows refused;
  refused.AddRefused(2, {"FATAL : Липсва вид наем : 2"});
  const std::string path = test::MakeTempFolder() + "/refused.xlsx";
  EXPECT_THROW(refused.Write(path, sheet, 2), workbook::SheetRereadError);
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace zrv::import
