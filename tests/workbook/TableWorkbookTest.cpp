// A table written as a workbook: figures stored as numbers with their number
// formats, a totals row that sums them, the header row frozen, the columns
// as wide as their contents; and a file that cannot be written is an error
// that leaves nothing behind.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "platform/workbook/TableWorkbookWriter.h"
#include "platform/workbook/Workbook.h"
#include "platform/workbook/ZipArchive.h"
#include "tests/support/TestDatabase.h"

namespace zrv::workbook {
namespace {

Table Sample() {
  Table t;
  t.sheetName = "Длъжници 31.12.2025";
  t.columns = {{"Договор №", ColumnKind::Text},
               {"Id", ColumnKind::Count, false},
               {"Дължими периоди", ColumnKind::Count},
               {"Дължимо", ColumnKind::Money}};
  t.rows = {{{"1/2024 с много дълго име на договора", 0}, {"", 17}, {"", 3}, {"", 1234.5}},
            {{"2/2024", 0}, {"", 4}, {"", 1}, {"", 0.1}}};
  t.totalsLabel = "Общо";
  t.notes = {"Основните лихвени проценти са заредени до 31.12.2024"};
  return t;
}

TEST(TableWorkbook, FiguresAreNumbersWithTotalsUnderAFrozenHeader) {
  const std::string folder = test::MakeTempFolder();
  const std::string path = folder + "/list.xlsx";
  WriteTableWorkbook(path, Sample());

  const auto sheet = OpenFirstWorksheet(path);
  EXPECT_EQ(sheet->CellText("A1"), "Договор №");
  EXPECT_EQ(sheet->CellText("D2"), "1 234.50");  // as the reader shows groups
  EXPECT_EQ(sheet->CellText("C3"), "1");
  EXPECT_EQ(sheet->CellText("A4"), "Общо");
  EXPECT_EQ(sheet->CellText("B4"), "");  // ids are not summed
  EXPECT_EQ(sheet->CellText("C4"), "4");
  EXPECT_EQ(sheet->CellText("D4"), "1 234.60");
  EXPECT_EQ(sheet->CellText("A6"), "Основните лихвени проценти са заредени до 31.12.2024");

  const auto zip = ZipArchive::OpenFile(path);
  const std::string xml = zip->Read("xl/worksheets/sheet1.xml");
  // A number cell has no type attribute (a string cell is t="s").
  EXPECT_TRUE(std::regex_search(xml, std::regex("<c r=\"D2\" s=\"\\d+\"><v>1234.5</v>"))) << xml;
  EXPECT_NE(xml.find("<f>SUM(D2:D3)</f><v>1234.6</v>"), std::string::npos);
  EXPECT_NE(xml.find("state=\"frozen\""), std::string::npos);
  EXPECT_NE(xml.find("<autoFilter ref=\"A1:D3\""), std::string::npos);
  // The long contract number widens its column; the short ones keep the least.
  EXPECT_TRUE(std::regex_search(xml, std::regex("<col min=\"1\" max=\"1\" width=\"3[89]"))) << xml;
  EXPECT_NE(zip->Read("xl/styles.xml").find("#,##0.00"), std::string::npos);

  const std::string missing = folder + "/no such folder/list.xlsx";
  EXPECT_THROW(WriteTableWorkbook(missing, Sample()), WorkbookError);
  EXPECT_FALSE(std::filesystem::exists(missing));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zrv::workbook
