// .ods workbooks, built here from their content XML, read like the .xlsx of the
// same content, cell by cell; repeated rows and cells cost nothing when empty
// and are bounded when not.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "platform/workbook/CellAddress.h"
#include "platform/workbook/Readers.h"
#include "platform/workbook/Workbook.h"
#include "tests/support/OdsFiles.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Workbooks.h"

namespace zrv::workbook {
namespace {

using test::Cell;
using test::Lettered;

// A package holding `mimetype` and content.xml with the rows as the body of
// its first table, and a second table that must not be read.
std::string WriteOds(const std::string& path, const std::string& rows,
                     const char* mimeType = test::kOdsMimeType) {
  const std::string content =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
      "<office:document-content "
      "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
      "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
      "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\">"
      "<office:body><office:spreadsheet><table:table table:name=\"Лист1\">"
      "<table:table-column table:number-columns-repeated=\"1024\"/>" +
      rows +
      "</table:table><table:table table:name=\"Лист2\"><table:table-row>"
      "<table:table-cell office:value-type=\"string\"><text:p>второ</text:p>"
      "</table:table-cell></table:table-row></table:table>"
      "</office:spreadsheet></office:body></office:document-content>";
  test::WriteOdsPackage(path, content, mimeType);
  return path;
}

std::string Text(const char* text, const char* extra = "") {
  return std::string("<table:table-cell office:value-type=\"string\"") + extra + "><text:p>" +
         text + "</text:p></table:table-cell>";
}
std::string Row(const std::string& cells, const char* extra = "") {
  return std::string("<table:table-row") + extra + ">" + cells + "</table:table-row>";
}
const std::string kEmpty = "<table:table-cell table:number-columns-repeated=\"1024\"/>";

class OdsRead : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { folder_ = test::MakeTempFolder(); }
  static void TearDownTestSuite() { std::filesystem::remove_all(folder_); }
  static std::string folder_;
};
std::string OdsRead::folder_;

TEST_F(OdsRead, ReadsLikeTheXlsxOfTheSameContent) {
  const std::string xlsx =
      test::MakeWorkbook(folder_, "same.xlsx",
                         {{"Номер", "Дата", "Сума", "ЕГН"},
                          {"12", Cell::Date(2007, 3, 15), 1234.5, Cell("0000123").WithFormat("@")},
                          {"a  b", Cell::DateTime(2007, 3, 15, 10, 20, 30, "dd.mm.yyyy hh:mm:ss"),
                           Cell::Number(0.25, "0%"), Cell::FormulaText("=1=1", "TRUE")},
                          {},
                          Lettered({{"A", "x"}, {"AJ", "край"}}),
                          {Cell::FormulaText("=1/0", "#DIV/0!"), 7, "с бележка", "ред\nдва"},
                          {"повтор", "д", "д"},
                          {"повтор", "д", "д"}});
  const std::string ods = WriteOds(
      folder_ + "/same.ods",
      Row(Text("Номер") + Text("Дата") + Text("Сума") + Text("ЕГН") + kEmpty) +
          // Typed values without a displayed text.
          Row(Text("12") +
              "<table:table-cell office:value-type=\"date\" "
              "office:date-value=\"2007-03-15\"/>"
              "<table:table-cell office:value-type=\"float\" "
              "office:value=\"1234.5\"/>" +
              Text("0000123")) +
          Row(Text("a <text:s/>b") +
              "<table:table-cell office:value-type=\"date\" "
              "office:date-value=\"2007-03-15T10:20:30\"/>"
              "<table:table-cell office:value-type=\"percentage\" "
              "office:value=\"0.25\"><text:p>25%</text:p></table:table-cell>"
              "<table:table-cell table:formula=\"of:=1=1\" "
              "office:value-type=\"boolean\" office:boolean-value=\"true\"/>") +
          Row(kEmpty) +
          Row(Text("x") + "<table:table-cell table:number-columns-repeated=\"34\"/>" +
              Text("край") + "<table:table-cell table:number-columns-repeated=\"16000\"/>") +
          Row("<table:table-cell table:formula=\"of:=1/0\" "
              "office:value-type=\"float\" office:value=\"0\">"
              "<text:p>#DIV/0!</text:p></table:table-cell>"
              "<table:table-cell office:value-type=\"float\" "
              "office:value=\"7\">"
              "<text:p>7</text:p></table:table-cell>"
              "<table:table-cell office:value-type=\"string\">"
              "<office:annotation><text:p>бележка</text:p></office:annotation>"
              "<text:p>с <text:span>бележка</text:span></text:p>"
              "</table:table-cell>" +
              Text("ред</text:p><text:p>два")) +
          Row(Text("повтор") + Text("д", " table:number-columns-repeated=\"2\"") + kEmpty,
              " table:number-rows-repeated=\"2\"") +
          // LibreOffice ends a sheet with its remaining empty rows.
          Row(kEmpty, " table:number-rows-repeated=\"1048568\""));

  const auto expected = OpenFirstWorksheet(xlsx);
  const auto begin = std::chrono::steady_clock::now();
  const auto sheet = OpenFirstWorksheet(ods);
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(2));
  ASSERT_EQ(sheet->UsedRowCount(), expected->UsedRowCount());
  ASSERT_EQ(sheet->UsedColumnCount(), expected->UsedColumnCount());
  EXPECT_EQ(sheet->UsedRowCount(), 8);
  for (int r = 1; r <= expected->UsedRowCount() + 1; ++r) {
    for (int c = 1; c <= expected->UsedColumnCount() + 1; ++c) {
      EXPECT_EQ(sheet->CellText(r, c), expected->CellText(r, c)) << ColumnLetters(c) << r;
    }
  }
}

TEST_F(OdsRead, RefusesDamagedAndHostileContentByName) {
  const std::string huge = Row(Text("x", " table:number-columns-repeated=\"16384\""),
                               " table:number-rows-repeated=\"1048576\"");
  const struct {
    const char* name;
    std::string rows;
    const char* reason;
  } cases[] = {
      {"hostile.ods", huge, "too many repeated cells"},
      {"repeat.ods", Row(Text("x", " table:number-columns-repeated=\"-3\"")), "bad repeat count"},
      {"open.ods", "<table:table-row>", "повредено .ods съдържание"},
      {"blanks.ods",
       Row(Text("x") +
           [] {
             std::string blanks;
             for (int i = 0; i < 5000; ++i) blanks += Text("<text:s text:c=\"16384\"/>");
             return blanks;
           }()),
       "too many repeated cells"},
  };
  for (const auto& c : cases) {
    const std::string path = WriteOds(folder_ + "/" + c.name, c.rows);
    try {
      OpenFirstWorksheet(path);
      ADD_FAILURE() << c.name << " was read";
    } catch (const WorkbookError& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find(path), std::string::npos) << message;
      EXPECT_NE(message.find(c.reason), std::string::npos) << message;
    }
  }
  // Another OpenDocument type is no spreadsheet: it goes to the .xlsx reader,
  // which finds no workbook in it.
  const std::string text =
      WriteOds(folder_ + "/text.odt", Row(Text("x")), "application/vnd.oasis.opendocument.text");
  EXPECT_THROW(OpenFirstWorksheet(text), WorkbookError);
}

// content.xml is read as it unzips: a sheet of ordinary size whose content
// is larger than a part read whole may be (8 MiB) still opens.
TEST_F(OdsRead, ReadsContentLargerThanAWholePart) {
  // Letters that do not repeat, so the part does not unzip like a bomb.
  uint32_t seed = 1;
  std::string rows, last;
  for (int r = 0; r < 10000; ++r) {
    last.clear();
    for (int c = 0; c < 1000; ++c) {
      seed = seed * 1664525u + 1013904223u;
      last += static_cast<char>('a' + (seed >> 24) % 26);
    }
    rows += Row(Text(last.c_str()));
  }
  const auto sheet = OpenFirstWorksheet(WriteOds(folder_ + "/large.ods", rows));
  EXPECT_EQ(sheet->UsedRowCount(), 10000);
  EXPECT_EQ(sheet->CellText(10000, 1), last);
}

// A sheet too large to hold is read again as rows are asked for, one table row
// held at a time: rows in a header group, repeated rows and cells, empty rows
// between and a row past the sheet's last read as held in memory, forward,
// backward and jumping.
TEST_F(OdsRead, ReadAgainAsAskedForReadsAsHeldInMemory) {
  std::string rows = "<table:table-header-rows>" + Row(Text("Номер") + Text("Сума")) +
                     "</table:table-header-rows>" +
                     Row(Text("повтор") + Text("д", " table:number-columns-repeated=\"3\""),
                         " table:number-rows-repeated=\"3\"") +
                     Row(kEmpty, " table:number-rows-repeated=\"5\"");
  for (int i = 1; i <= 100; ++i) {
    rows +=
        Row(Text(std::to_string(i).c_str()) + (i % 7 ? Text("x") : "<table:table-cell/>") + kEmpty);
  }
  rows += Row(kEmpty, " table:number-rows-repeated=\"1048468\"") + Row(Text("извън"));
  const auto package = OpenPackageFile(WriteOds(folder_ + "/again.ods", rows));
  const auto held = ReadOdsParts(*package, "again.ods", SIZE_MAX);
  const auto streamed = ReadOdsParts(*package, "again.ods", 0);
  ASSERT_EQ(streamed->UsedRowCount(), 109);
  ASSERT_EQ(streamed->UsedColumnCount(), 4);
  EXPECT_EQ(streamed->CellText("A1"), "Номер");
  EXPECT_EQ(streamed->CellText("D4"), "д");
  EXPECT_EQ(streamed->CellText("A109"), "100");
  std::vector<int> order;
  for (int r = 1; r <= 110; ++r) order.push_back(r);     // forward
  for (int r = 110; r >= 1; r -= 3) order.push_back(r);  // backward
  for (int r : {1, 99, 2, 50, 37}) order.push_back(r);   // jumping
  for (int r : order) {
    for (int c = 1; c <= 5; ++c)
      ASSERT_EQ(streamed->CellText(r, c), held->CellText(r, c)) << ColumnLetters(c) << r;
  }
}

}  // namespace
}  // namespace zrv::workbook
