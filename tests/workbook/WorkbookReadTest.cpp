// The same tables written as .xls and as .xlsx read back as the same displayed
// text.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/workbook/Readers.h"
#include "platform/workbook/StringTable.h"
#include "platform/workbook/Workbook.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Workbooks.h"

namespace zrv::workbook {
namespace {

using test::Cell;
using test::Lettered;
using test::Row;

// Each cell of the table: what is written, and the text a reader must give.
struct Expected {
  const char* cell;
  const char* text;
};

const std::vector<Row>& MixedTable() {
  static const std::vector<Row> rows = {
      {"Текст", "Дата", "Число"},
      {"  12.03.2007  ", Cell::Date(2007, 3, 12), 1234.5},
      {"Иван Петров", Cell::Date(2007, 3, 15, "d/m/yy"), Cell::Number(1234.5, "0.00")},
      {"a,b \"c\"", Cell::Date(2007, 3, 15, "yyyy-mm-dd"), Cell::Number(1234.5, "#,##0.00")},
      {"007", Cell::Date(2007, 3, 15, "mmmm d, yyyy"), Cell::Number(41010101, "0000000000")},
      {Cell("007").WithFormat("@"), Cell::Date(2007, 3, 15, "[$-402]d mmmm yyyy \"г.\""),
       Cell::Number(0.25, "0%")},
      {"", Cell::DateTime(2007, 3, 15, 10, 20, 30, "dd.mm.yyyy hh:mm"),
       Cell::Number(12, "0.00\" лв.\"")},
      {},  // an empty row in the middle
      {Cell::FormulaText("=\"ab\"&\"в\"", "abв"), Cell::Formula("=B2+3", 39156, "dd.mm.yyyy"),
       Cell::Formula("=C3*2", 2469, "#,##0.00"), Cell::FormulaText("=1=1", "TRUE"),
       Cell::FormulaText("=1/0", "#DIV/0!"), Cell::FormulaText("=\"\"", "")},
      {"\tтаб\r", Cell::Date(2007, 3, 15, "m/d/yyyy"), 7501010010.0},
      Lettered({{"A", "последна"}, {"AJ", "AJ"}, {"AE", Cell::Date(2008, 1, 31)}}),
  };
  return rows;
}

const std::vector<Expected> kMixedExpected = {
    {"A1", "Текст"},
    {"A2", "  12.03.2007  "},  // blanks stay; the import's ReadCell trims them
    {"B2", "12.03.2007"},
    {"C2", "1234.5"},
    {"A3", "Иван Петров"},
    {"B3", "15.03.2007"},
    {"C3", "1234.50"},
    {"A4", "a,b \"c\""},
    {"B4", "15.03.2007"},
    {"C4", "1 234.50"},
    {"A5", "007"},
    {"B5", "15.03.2007"},
    {"C5", "0041010101"},
    {"A6", "007"},
    {"B6", "15.03.2007"},
    {"C6", "25%"},
    {"A7", ""},                     // an empty string is no value
    {"B7", "15.03.2007 10:20:30"},  // a time of day always shows its seconds
    {"C7", "12.00 лв."},
    {"A8", ""},
    {"B8", ""},
    {"A9", "abв"},
    {"B9", "15.03.2007"},
    {"C9", "2 469.00"},
    {"D9", "ИСТИНА"},
    {"E9", ""},  // an error value shows nothing
    {"F9", ""},
    {"A10", "\tтаб\r"},
    {"B10", "15.03.2007"},
    {"C10", "7501010010"},
    {"A11", "последна"},
    {"AE11", "31.01.2008"},
    {"AJ11", "AJ"},
    {"A12", ""},  // past the used range
    {"AK11", ""},
    {"ZZ999", ""},
    {"not a cell", ""},
};

class WorkbookRead : public ::testing::TestWithParam<std::string> {
 protected:
  static void SetUpTestSuite() { folder_ = test::MakeTempFolder(); }
  static void TearDownTestSuite() { std::filesystem::remove_all(folder_); }

  std::unique_ptr<Worksheet> Open(const std::string& name, const std::vector<Row>& rows) {
    return OpenFirstWorksheet(test::MakeWorkbook(folder_, name + "." + GetParam(), rows));
  }

  static std::string folder_;
};

std::string WorkbookRead::folder_;

TEST_P(WorkbookRead, GivesDisplayedTextOfTextDatesNumbersAndFormulas) {
  auto sheet = Open("mixed", MixedTable());
  for (const Expected& e : kMixedExpected) EXPECT_EQ(sheet->CellText(e.cell), e.text) << e.cell;
  EXPECT_EQ(sheet->UsedRowCount(), 11);
  EXPECT_EQ(sheet->UsedColumnCount(), 36);
  EXPECT_EQ(sheet->CellText(3, 3), "1234.50");
  EXPECT_EQ(sheet->CellText(11, 36), "AJ");
}

TEST_P(WorkbookRead, ReadsAThousandRowSheetCellByCell) {
  std::vector<Row> rows;
  for (int i = 1; i <= 1000; ++i) {
    rows.push_back(
        {"Ред " + std::to_string(i), i * 1.5, Cell::Date(2000 + i % 20, 1 + i % 12, 1 + i % 28)});
  }
  auto sheet = Open("thousand", rows);
  ASSERT_EQ(sheet->UsedRowCount(), 1000);
  for (int i = 1; i <= 1000; ++i) {
    const std::string r = std::to_string(i);
    ASSERT_EQ(sheet->CellText("A" + r), "Ред " + r);
    char number[32], date[16];
    std::snprintf(number, sizeof number, "%g", i * 1.5);
    std::snprintf(date, sizeof date, "%02d.%02d.%04d", 1 + i % 28, 1 + i % 12, 2000 + i % 20);
    ASSERT_EQ(sheet->CellText("B" + r), number) << r;
    ASSERT_EQ(sheet->CellText("C" + r), date) << r;
  }
}

TEST_P(WorkbookRead, AnEmptySheetHasNoUsedRange) {
  auto sheet = Open("empty", {});
  EXPECT_EQ(sheet->UsedRowCount(), 0);
  EXPECT_EQ(sheet->UsedColumnCount(), 0);
  EXPECT_EQ(sheet->CellText("A1"), "");
}

TEST_P(WorkbookRead, OnlyTheFirstWorksheetIsRead) {
  const std::string path =
      test::MakeWorkbook(folder_, "sheets." + GetParam(), {{"first"}}, {"Второ"});
  auto sheet = OpenFirstWorksheet(path);
  EXPECT_EQ(sheet->CellText("A1"), "first");
}

TEST_P(WorkbookRead, FormattedCellsWithoutValuesAreEmptyAndOutsideTheUsedRange) {
  auto sheet = Open("blank", {{"a", Cell::Blank("0.00")}, {}, {Cell::Blank("dd.mm.yyyy")}});
  EXPECT_EQ(sheet->CellText("B1"), "");
  EXPECT_EQ(sheet->UsedRowCount(), 1);
  EXPECT_EQ(sheet->UsedColumnCount(), 1);
}

TEST_P(WorkbookRead, KeepsLongAndCyrillicTextWhole) {
  std::string longText;
  for (int i = 0; i < 32767; ++i) longText += i % 100 == 99 ? "ж" : "z";  // 32,767 characters
  std::string cyrillic;
  for (int i = 0; i < 32767; ++i) cyrillic += "щ";
  auto sheet = Open("long", {{longText, cyrillic, "ÄÖü €"}});
  EXPECT_EQ(sheet->CellText("A1"), longText);
  EXPECT_EQ(sheet->CellText("B1"), cyrillic);
  EXPECT_EQ(sheet->CellText("C1"), "ÄÖü €");
}

// A fraction format is the one number format shown differently from a
// spreadsheet application: the value comes as a General number instead of "1
// 1/2" (written down in the README).
TEST_P(WorkbookRead, FractionFormatsShowTheNumberAsGeneral) {
  auto sheet = Open("fraction", {{Cell::Number(1.5, "# ?/?")}});
  EXPECT_EQ(sheet->CellText("A1"), "1.5");
}

INSTANTIATE_TEST_SUITE_P(BothFormats, WorkbookRead, ::testing::Values("xls", "xlsx"));

// A sheet too large to hold is read again from the file as rows are asked
// for; forward, backward or skipping, it reads as the sheet held in memory.
TEST(LargeSheet, ReadInPiecesReadsAsHeldInMemory) {
  const std::string folder = test::MakeTempFolder();
  std::vector<Row> rows;
  for (int i = 1; i <= 300; ++i) {
    rows.push_back({i % 7 ? Cell("Договор " + std::to_string(i)) : Cell(),
                    Cell::Date(2007, 1 + i % 12, 1 + i % 28), Cell::Number(i * 1.25, "#,##0.00")});
  }
  rows[150] = {};
  const std::string path = test::MakeWorkbook(folder, "large.xlsx", rows);
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const std::string file = bytes.str();
  const auto held = ReadXlsxMemory(file.data(), file.size(), "large.xlsx");
  const auto streamed = ReadXlsxMemory(file.data(), file.size(), "large.xlsx",
                                       /*cellsHeldInMemory=*/0);
  ASSERT_EQ(streamed->UsedRowCount(), 300);
  ASSERT_EQ(streamed->UsedColumnCount(), 3);
  std::vector<int> order;
  for (int r = 1; r <= 301; ++r) order.push_back(r);      // forward
  for (int r = 301; r >= 1; r -= 3) order.push_back(r);   // backward
  for (int r : {1, 299, 2, 100, 37}) order.push_back(r);  // jumping
  for (int r : order) {
    for (int c = 1; c <= 4; ++c)
      ASSERT_EQ(streamed->CellText(r, c), held->CellText(r, c)) << "row " << r << ", column " << c;
  }
  EXPECT_EQ(streamed->CellText("A2"), "Договор 2");
  std::filesystem::remove_all(folder);
}

// Shared strings span blocks of text; one longer than a block gets its own.
TEST(SharedStrings, EachStringReadsBackWholeAcrossBlocks) {
  std::vector<std::string> texts;
  for (int i = 0; i < 300000; ++i) texts.push_back("низ " + std::to_string(i));
  texts.insert(texts.begin() + 1000, std::string(3 << 20, 'x'));
  texts.insert(texts.begin() + 1001, "");
  StringTable table;
  for (const auto& text : texts) table.Add(text);
  ASSERT_EQ(table.size(), texts.size());
  for (size_t i = 0; i < texts.size(); ++i) ASSERT_EQ(table[i], texts[i]) << i;
}

}  // namespace
}  // namespace zrv::workbook
