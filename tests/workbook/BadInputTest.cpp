// Files that are no readable workbook: opening fails with a message naming the
// file, or the damaged part reads as empty; never a crash or a hang.

#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "platform/workbook/Workbook.h"
#include "platform/workbook/ZipArchive.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Workbooks.h"

namespace zrv::workbook {
namespace {

using test::Cell;
using test::Row;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Replaces one part of an .xlsx package.
void ReplacePart(const std::string& xlsx, const std::string& part, const std::string& content) {
  int error = 0;
  zip_t* archive = zip_open(xlsx.c_str(), 0, &error);
  ASSERT_NE(archive, nullptr);
  zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
  ASSERT_GE(zip_file_add(archive, part.c_str(), source, ZIP_FL_OVERWRITE), 0);
  ASSERT_EQ(zip_close(archive), 0);
}

std::string Part(const std::string& xlsx, const std::string& part) {
  return ZipArchive::OpenFile(xlsx)->Read(part);
}

// The message of the error opening `path` gives; "" when it opens.
std::string OpenError(const std::string& path) {
  try {
    OpenFirstWorksheet(path);
    return "";
  } catch (const WorkbookError& e) {
    return e.what();
  }
}

class BadInput : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = test::MakeTempFolder();
    const std::vector<Row> rows = {{"Номер", "Дата", "Цена"},
                                   {"12", Cell::Date(2007, 3, 15), Cell::Number(150, "0.00")},
                                   {"13", Cell::Date(2007, 4, 1), 99.5}};
    xls_ = test::MakeWorkbook(folder_, "good.xls", rows);
    xlsx_ = test::MakeWorkbook(folder_, "good.xlsx", rows);
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(folder_); }

  // A copy of a good workbook under a new name, changed by `change`.
  static std::string Variant(const std::string& source, const std::string& name,
                             const std::function<void(std::string&)>& change) {
    std::string bytes = ReadBytes(source);
    change(bytes);
    const std::string path = folder_ + "/" + name;
    WriteBytes(path, bytes);
    return path;
  }

  static std::string folder_, xls_, xlsx_;
};

std::string BadInput::folder_, BadInput::xls_, BadInput::xlsx_;

TEST_F(BadInput, FilesThatAreNoWorkbookAreRefusedByName) {
  const std::string text = folder_ + "/text.xls";
  WriteBytes(text, "Номер;Дата\n12;15.03.2007\n");
  const std::string empty = folder_ + "/empty.xlsx";
  WriteBytes(empty, "");
  const std::string missing = folder_ + "/missing.xls";
  for (const std::string& path : {text, empty, missing}) {
    const std::string message = OpenError(path);
    EXPECT_NE(message.find(path), std::string::npos) << message;
  }
  EXPECT_NE(OpenError(text).find("не е работна книга .xls, .xlsx или .ods"), std::string::npos);
  EXPECT_NE(OpenError(missing).find("не съществува"), std::string::npos);

  // A ZIP archive that holds no workbook.
  const std::string zipPath = folder_ + "/other.xlsx";
  int error = 0;
  zip_t* archive = zip_open(zipPath.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(archive, nullptr);
  static const char kNote[] = "not a workbook";
  zip_file_add(archive, "note.txt", zip_source_buffer(archive, kNote, sizeof kNote - 1, 0), 0);
  ASSERT_EQ(zip_close(archive), 0);
  EXPECT_NE(OpenError(zipPath).find(zipPath), std::string::npos);
}

TEST_F(BadInput, TruncatedWorkbooksAreRefusedByName) {
  const size_t xlsSize = ReadBytes(xls_).size();
  const size_t xlsxSize = ReadBytes(xlsx_).size();
  for (size_t keep : {size_t{8}, size_t{512}, xlsSize / 2, xlsSize - 512}) {
    const std::string path = Variant(xls_, "cut" + std::to_string(keep) + ".xls",
                                     [&](std::string& b) { b.resize(keep); });
    EXPECT_NE(OpenError(path).find(path), std::string::npos) << keep;
  }
  for (size_t keep : {size_t{4}, size_t{100}, xlsxSize / 2, xlsxSize - 10}) {
    const std::string path = Variant(xlsx_, "cut" + std::to_string(keep) + ".xlsx",
                                     [&](std::string& b) { b.resize(keep); });
    EXPECT_NE(OpenError(path).find(path), std::string::npos) << keep;
  }
}

TEST_F(BadInput, DamagedBytesNeverEscapeAsAnythingButAWorkbookError) {
  for (int step : {7, 31, 97, 509}) {
    for (const std::string& source : {xls_, xlsx_}) {
      const std::string name =
          "flip" + std::to_string(step) + std::filesystem::path(source).extension().string();
      const std::string path = Variant(source, name, [&](std::string& b) {
        for (size_t i = 512; i < b.size(); i += step) b[i] = static_cast<char>(b[i] ^ 0x5A);
      });
      try {
        auto sheet = OpenFirstWorksheet(path);
        for (int r = 1; r <= sheet->UsedRowCount() && r < 100; ++r) sheet->CellText(r, 1);
      } catch (const WorkbookError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
      }
    }
  }
}

TEST_F(BadInput, DamagedXmlInsideAPackageIsNamed) {
  const std::string broken = Variant(xlsx_, "broken.xlsx", [](std::string&) {});
  ReplacePart(broken, "xl/worksheets/sheet1.xml",
              "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></row>");
  const std::string message = OpenError(broken);
  EXPECT_NE(message.find(broken), std::string::npos);
  EXPECT_NE(message.find("повредено .xlsx съдържание"), std::string::npos) << message;

  const std::string deep = Variant(xlsx_, "deep.xlsx", [](std::string&) {});
  std::string nested;
  for (int i = 0; i < 100000; ++i) nested += "<a>";
  ReplacePart(deep, "xl/worksheets/sheet1.xml", "<worksheet>" + nested);
  EXPECT_NE(OpenError(deep).find("nested too deeply"), std::string::npos);

  const std::string far = Variant(xlsx_, "far.xlsx", [](std::string&) {});
  ReplacePart(far, "xl/worksheets/sheet1.xml",
              "<worksheet><sheetData><row "
              "r=\"1048577\"><c><v>1</v></c></row></sheetData></worksheet>");
  EXPECT_NE(OpenError(far).find("bad row number"), std::string::npos);

  // A shared-string index past the table and a number that is none read as
  // empty cells; names may carry a namespace prefix.
  const std::string odd = Variant(xlsx_, "odd.xlsx", [](std::string&) {});
  ReplacePart(odd, "xl/worksheets/sheet1.xml",
              "<x:worksheet xmlns:x=\"s\"><x:sheetData><x:row><x:c "
              "t=\"s\"><x:v>999</x:v></x:c>"
              "<x:c><x:v>abc</x:v></x:c><x:c "
              "t=\"inlineStr\"><x:is><x:t>in&amp;line</x:t></x:is></x:c>"
              "<x:c "
              "t=\"inlineStr\"><x:is><x:t>a_x000D_b_x005F_x0041_</x:t></x:is></x:c>"
              "</x:row></x:sheetData></x:worksheet>");
  auto sheet = OpenFirstWorksheet(odd);
  EXPECT_EQ(sheet->CellText("A1"), "");
  EXPECT_EQ(sheet->CellText("B1"), "");
  EXPECT_EQ(sheet->CellText("C1"), "in&line");
  EXPECT_EQ(sheet->CellText("D1"),
            "a\rb_x0041_");  // _xHHHH_ escapes a character, _x005F_ an underscore
}

TEST_F(BadInput, AWorkbookWithoutWorksheetsIsRefused) {
  const std::string path = Variant(xlsx_, "nosheet.xlsx", [](std::string&) {});
  const std::string workbook = std::regex_replace(Part(path, "xl/workbook.xml"),
                                                  std::regex("<sheets>.*</sheets>"), "<sheets/>");
  ReplacePart(path, "xl/workbook.xml", workbook);
  EXPECT_NE(OpenError(path).find("has no worksheet"), std::string::npos);
}

TEST_F(BadInput, PasswordProtectedWorkbooksAreNamedAsSuch) {
  // An .xlsx saved with a password is an OLE2 container holding an
  // "EncryptedPackage" stream.
  const std::string encrypted = Variant(xls_, "encrypted.xlsx", [](std::string& b) {
    const std::string workbook("W\0o\0r\0k\0b\0o\0o\0k\0", 16);
    const size_t at = b.find(workbook);
    ASSERT_NE(at, std::string::npos);
    const std::string name = "EncryptedPackage";
    for (size_t i = 0; i < 32; ++i)
      b[at + i] = i % 2 ? '\0' : (i / 2 < name.size() ? name[i / 2] : '\0');
    b[at + 0x40] = 34;  // name length in bytes with its terminator
  });
  EXPECT_NE(OpenError(encrypted).find("защитена с парола"), std::string::npos)
      << OpenError(encrypted);

  // An .xls saved with a password carries a FILEPASS record among its first
  // records; here it takes the place of the window record.
  const std::string filepass = Variant(xls_, "filepass.xls", [](std::string& b) {
    const std::string window("\x3D\x00\x12\x00", 4);
    const size_t at = b.find(window);
    ASSERT_NE(at, std::string::npos);
    b[at] = 0x2F;
  });
  EXPECT_NE(OpenError(filepass).find("защитена с парола"), std::string::npos)
      << OpenError(filepass);
}

TEST_F(BadInput, XlsxSheetsMayHoldMoreRowsThanXls) {
  std::vector<Row> rows;
  for (int i = 1; i <= 70000; ++i) rows.push_back({i});
  auto sheet = OpenFirstWorksheet(test::MakeWorkbook(folder_, "many.xlsx", rows));
  EXPECT_EQ(sheet->UsedRowCount(), 70000);
  EXPECT_EQ(sheet->CellText("A65537"), "65537");
  EXPECT_EQ(sheet->CellText("A70000"), "70000");
}

TEST_F(BadInput, HostilePartsAreRefusedByNameBeforeTheyFillMemory) {
  const std::string head = "<worksheet><sheetData><row r=\"1\">";
  const std::string tail = "</row></sheetData></worksheet>";
  auto times = [](const std::string& unit, size_t bytes) {
    std::string out;
    out.reserve(bytes + unit.size());
    while (out.size() < bytes) out += unit;
    return out;
  };
  // More shared strings than a small sheet could ever use.
  std::string numbered = "<sst>";
  for (int i = 0; i <= 1 << 20; ++i) numbered += "<si><t>" + std::to_string(i) + "</t></si>";
  numbered += "</sst>";
  const struct {
    const char* name;
    const char* part;
    std::string content;
    const char* reason;
  } cases[] = {
      {"sheet-bomb.xlsx", "xl/worksheets/sheet1.xml",
       head + times("<c r=\"A1\"><v>1</v></c>", 24 << 20) + tail, "ZIP бомба"},
      {"strings-bomb.xlsx", "xl/sharedStrings.xml",
       "<sst>" + times("<si><t>Бомба</t></si>", 24 << 20) + "</sst>", "ZIP бомба"},
      {"styles-bomb.xlsx", "xl/styles.xml",
       "<styleSheet><cellXfs>" + times("<xf numFmtId=\"14\"/>", 24 << 20), "частта xl/styles.xml"},
      {"many-strings.xlsx", "xl/sharedStrings.xml", numbered, "над 1048576 низа"},
      {"far-cell.xlsx", "xl/worksheets/sheet1.xml",
       head + "</row><row r=\"1048576\"><c r=\"XFD1048576\"><v>1</v></c>" + tail,
       "използваната област A1:XFD1048576"},
  };
  for (const auto& c : cases) {
    const std::string path = Variant(xlsx_, c.name, [](std::string&) {});
    ReplacePart(path, c.part, c.content);
    const std::string message = OpenError(path);
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find(c.reason), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace zrv::workbook
