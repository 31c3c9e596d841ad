// The .xls reader below the fixture writer: OLE2 containers and BIFF records
// built byte by byte, for what Spreadsheet::WriteExcel never writes (BIFF5 with
// a code page, texts that change width in a continuation record, small streams
// in the mini stream) and for damaged containers.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>

#include "platform/workbook/BiffScan.h"
#include "platform/workbook/OleFile.h"
#include "platform/workbook/Readers.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Workbooks.h"

namespace zrv::workbook {
namespace {

constexpr uint32_t kEnd = 0xFFFFFFFE;
constexpr uint32_t kFree = 0xFFFFFFFF;

std::string U16(uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string U32(uint32_t v) { return U16(v & 0xFFFF) + U16(v >> 16); }
std::string F64(double v) {
  std::string bytes(8, '\0');
  std::memcpy(bytes.data(), &v, 8);
  return bytes;
}
std::string Record(uint16_t id, const std::string& data) {
  return U16(id) + U16(static_cast<uint16_t>(data.size())) + data;
}
std::string Bytes(const char* bytes, size_t n) { return std::string(bytes, n); }
std::string Cell(uint16_t row, uint16_t column, uint16_t xf) {
  return U16(row) + U16(column) + U16(xf);
}
uint32_t RkInt(int32_t value) { return static_cast<uint32_t>(value) << 2 | 2; }

// An OLE2 file (512-byte sectors) with one stream; below 4096 bytes the stream
// goes to the mini stream, as the format requires.
std::string MakeOle(const std::string& name, const std::string& stream) {
  const bool mini = stream.size() < 4096;
  auto padded = [](std::string s, size_t unit) {
    return s.append((unit - s.size() % unit) % unit, '\0');
  };
  const std::string data = padded(stream, mini ? 64 : 512);
  const uint32_t dataSectors = static_cast<uint32_t>(padded(data, 512).size() / 512);
  const uint32_t firstData = mini ? 3 : 2;  // 0 FAT, 1 directory, 2 mini FAT when mini

  std::string fat = U32(0xFFFFFFFD) + U32(kEnd) + (mini ? U32(kEnd) : "");
  for (uint32_t i = 0; i < dataSectors; ++i)
    fat += U32(i + 1 == dataSectors ? kEnd : firstData + i + 1);
  fat = padded(fat, 512);
  for (size_t i = fat.size() - 4; fat.substr(i, 4) == std::string(4, '\0'); i -= 4)
    fat.replace(i, 4, U32(kFree));

  std::string miniFat;
  if (mini) {
    const uint32_t count = static_cast<uint32_t>(data.size() / 64);
    for (uint32_t i = 0; i < count; ++i) miniFat += U32(i + 1 == count ? kEnd : i + 1);
    while (miniFat.size() < 512) miniFat += U32(kFree);
  }

  auto entry = [&](const std::string& entryName, uint8_t type, uint32_t start, uint32_t size) {
    std::string e(128, '\0');
    for (size_t i = 0; i < entryName.size(); ++i) e[i * 2] = entryName[i];
    e.replace(0x40, 2, U16(static_cast<uint16_t>((entryName.size() + 1) * 2)));
    e[0x42] = static_cast<char>(type);
    e.replace(0x44, 12, U32(kFree) + U32(kFree) + U32(type == 5 ? 1 : kFree));
    e.replace(0x74, 8, U32(start) + U32(size));
    return e;
  };
  std::string directory =
      entry("Root Entry", 5, mini ? firstData : kEnd,
            mini ? static_cast<uint32_t>(data.size()) : 0) +
      entry(name, 2, mini ? 0 : firstData, static_cast<uint32_t>(stream.size()));
  directory = padded(directory, 512);

  std::string header = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(16, '\0') + U16(0x3E) +
                       U16(3) + U16(0xFFFE) + U16(9) + U16(6) + std::string(10, '\0') + U32(1) +
                       U32(1) + U32(0) + U32(4096) + U32(mini ? 2 : kEnd) + U32(mini ? 1 : 0) +
                       U32(kEnd) + U32(0) + U32(0);
  while (header.size() < 512) header += U32(kFree);
  return header + fat + directory + miniFat + padded(data, 512);
}

// A BIFF5 workbook in Windows-1251 with a number format, dates, RK values, a
// boolean, formula results and an embedded chart whose records belong to no
// cell.
std::string Biff5Workbook() {
  const std::string xfTail(12, '\0');
  std::string globals =
      Record(0x0809, U16(0x0500) + U16(0x0005) + U32(0)) + Record(0x0042, U16(1251)) +
      Record(0x041E, U16(164) + Bytes("\x0A", 1) + "0000000000") +
      Record(0x00E0, U16(0) + U16(0) + xfTail) + Record(0x00E0, U16(0) + U16(164) + xfTail) +
      Record(0x00E0, U16(0) + U16(14) + xfTail);
  const std::string sheetName = "\xCB\xE8\xF1\xF2";  // "Лист"
  const size_t boundSheetSize = 4 + 4 + 2 + 1 + sheetName.size();
  const size_t sheetOffset = globals.size() + boundSheetSize + 4;  // after BOUNDSHEET and EOF
  globals += Record(0x0085, U32(static_cast<uint32_t>(sheetOffset)) + Bytes("\x00\x00", 2) +
                                static_cast<char>(sheetName.size()) + sheetName);
  globals += Record(0x000A, "");
  const std::string stringResult = std::string(6, '\0') + "\xFF\xFF";
  std::string sheet =
      Record(0x0809, U16(0x0500) + U16(0x0010) + U32(0)) +
      Record(0x0204, Cell(0, 0, 0) + U16(4) + "\xC8\xE2\xE0\xED") +  // "Иван"
      Record(0x0203, Cell(0, 1, 1) + F64(41010101)) +
      Record(0x027E, Cell(0, 2, 2) + U32(RkInt(39156))) +
      Record(0x00BD,
             U16(1) + U16(0) + U16(0) + U32(RkInt(150)) + U16(0) + U32(125u << 2 | 3) + U16(1)) +
      Record(0x0205, Cell(1, 2, 0) + Bytes("\x01\x00", 2)) +
      Record(0x0006, Cell(2, 0, 0) + stringResult + U16(0) + U32(0) + U16(0)) +
      Record(0x0207, U16(4) + "\xC3\xF0\xE0\xE4") +  // "Град"
      Record(0x0006, Cell(2, 1, 0) + F64(2.5) + U16(0) + U32(0) + U16(0)) +
      Record(0x0205, Cell(2, 2, 0) + Bytes("\x07\x01", 2)) +
      Record(0x0809, U16(0x0500) + U16(0x0020) + U32(0)) + Record(0x0203, Cell(9, 9, 0) + F64(1)) +
      Record(0x000A, "") + Record(0x000A, "");
  return globals + sheet;
}

TEST(Biff, Biff5CellsInTheDeclaredCodePage) {
  const BiffSheet biff = ScanBiff(Biff5Workbook());
  ASSERT_FALSE(biff.encrypted);
  ASSERT_EQ(biff.xfFormats.size(), 3u);
  EXPECT_EQ(biff.xfFormats[1], "0000000000");

  const auto sheet = ReadXlsMemory(MakeOle("Book", Biff5Workbook()), "biff5.xls");
  const std::vector<std::pair<const char*, const char*>> expected = {
      {"A1", "Иван"},   {"B1", "0041010101"}, {"C1", "15.03.2007"}, {"A2", "150"}, {"B2", "1.25"},
      {"C2", "ИСТИНА"}, {"A3", "Град"},       {"B3", "2.5"},        {"C3", ""},    {"J10", ""}};
  for (const auto& [cell, text] : expected) EXPECT_EQ(sheet->CellText(cell), text) << cell;
  EXPECT_EQ(sheet->UsedRowCount(), 3);
}

TEST(Biff, SharedStringsContinueAcrossRecordsAndChangeWidth) {
  // "abcde" starts as one-byte characters in the SST record and goes on in
  // two-byte characters in the CONTINUE record, which starts with its own flag
  // byte.
  const std::string sst = Record(0x00FC, U32(2) + U32(2) + U16(5) + Bytes("\x00", 1) + "ab") +
                          Record(0x003C, Bytes("\x01"
                                               "c\0d\0e\0",
                                               7) +
                                             U16(1) + Bytes("\x01", 1) + U16(0x0449));
  std::string globals = Record(0x0809, U16(0x0600) + U16(0x0005) + U32(0) + U32(0)) + sst +
                        Record(0x00E0, U16(0) + U16(0) + std::string(16, '\0'));
  globals += Record(0x0085, U32(static_cast<uint32_t>(globals.size() + 4 + 10 + 4)) +
                                Bytes("\x00\x00\x02\x00", 4) + "S1");
  globals += Record(0x000A, "");
  const std::string sheet = Record(0x0809, U16(0x0600) + U16(0x0010) + U32(0) + U32(0)) +
                            Record(0x00FD, Cell(0, 0, 0) + U32(0)) +
                            Record(0x00FD, Cell(0, 1, 0) + U32(1)) +
                            Record(0x00FD, Cell(0, 2, 0) + U32(7)) + Record(0x000A, "");
  const auto read = ReadXlsMemory(MakeOle("Workbook", globals + sheet), "sst.xls");
  EXPECT_EQ(read->CellText("A1"), "abcde");
  EXPECT_EQ(read->CellText("B1"), "щ");
  EXPECT_EQ(read->CellText("C1"), "");  // an index past the table
}

TEST(Biff, DamagedRecordsAreErrors) {
  const std::string good = Biff5Workbook();
  EXPECT_THROW(ScanBiff(good.substr(0, good.size() - 3)),
               BiffError);                             // cut inside the last record
  EXPECT_THROW(ScanBiff(good.substr(20)), BiffError);  // no BOF first
  std::string lying = good;
  lying[2] = '\xFF';  // the first record claims more bytes than the stream holds
  EXPECT_THROW(ScanBiff(lying), BiffError);
  EXPECT_THROW(ScanBiff(""), BiffError);
}

// A BIFF8 workbook stream: shared strings "първи", "втори", one XF (General)
// and a worksheet of `cells` records.
std::string Biff8Workbook(const std::string& cells) {
  const std::string first = "\x3F\x04\x4A\x04\x40\x04\x32\x04\x38\x04";
  const std::string second = "\x32\x04\x42\x04\x3E\x04\x40\x04\x38\x04";
  std::string globals = Record(0x0809, U16(0x0600) + U16(0x0005) + U32(0) + U32(0)) +
                        Record(0x00FC, U32(2) + U32(2) + U16(5) + Bytes("\x01", 1) + first +
                                           U16(5) + Bytes("\x01", 1) + second) +
                        Record(0x00E0, U16(0) + U16(0) + std::string(16, '\0'));
  globals += Record(0x0085, U32(static_cast<uint32_t>(globals.size() + 4 + 10 + 4)) +
                                Bytes("\x00\x00\x02\x00", 4) + "S1");
  globals += Record(0x000A, "");
  return globals + Record(0x0809, U16(0x0600) + U16(0x0010) + U32(0) + U32(0)) + cells +
         Record(0x000A, "");
}

// Rows are read from their records when asked for, the last few kept: cells
// written out of row order, a later text for a cell (one that shows nothing
// does not count), MULRK, a formula's text in the STRING record after it and a
// column past the sheet's last read alike forward, backward and jumping, past
// the rows kept.
TEST(Biff, RowsReadFromTheirRecordsInAnyOrder) {
  const std::string formulaText =
      Cell(1, 1, 0) + std::string(6, '\0') + "\xFF\xFF" + U16(0) + U32(0) + U16(0);
  std::string cells =
      Record(0x00FD, Cell(2, 0, 0) + U32(1)) + Record(0x0203, Cell(0, 0, 0) + F64(1.5)) +
      Record(0x00BD, U16(0) + U16(1) + U16(0) + U32(RkInt(7)) + U16(0) + U32(RkInt(8)) + U16(2)) +
      Record(0x00FD, Cell(2, 1, 0) + U32(0)) +
      Record(0x0205, Cell(1, 0, 0) + Bytes("\x07\x01", 2)) +
      Record(0x0203, Cell(0, 1, 0) + F64(9)) +
      Record(0x0205, Cell(0, 2, 0) + Bytes("\x07\x01", 2)) + Record(0x0006, formulaText) +
      Record(0x0207, U16(3) + Bytes("\x00", 1) + "abc") +
      Record(0x0203, Cell(4, 20000, 0) + F64(1));
  std::map<std::pair<int, int>, std::string> expected = {{{1, 1}, "1.5"},   {{1, 2}, "9"},
                                                         {{1, 3}, "8"},     {{2, 2}, "abc"},
                                                         {{3, 1}, "втори"}, {{3, 2}, "първи"}};
  for (int row = 20; row >= 4; --row) {  // from the bottom up
    cells += Record(0x0203, Cell(static_cast<uint16_t>(row - 1), 3, 0) + F64(row * 10));
    expected[{row, 4}] = std::to_string(row * 10);
  }
  const auto sheet = ReadXlsMemory(MakeOle("Workbook", Biff8Workbook(cells)), "order.xls");
  ASSERT_EQ(sheet->UsedRowCount(), 20);
  ASSERT_EQ(sheet->UsedColumnCount(), 4);
  std::vector<int> order;
  for (int r = 1; r <= 21; ++r) order.push_back(r);        // forward
  for (int r = 21; r >= 1; --r) order.push_back(r);        // backward
  for (int r : {3, 20, 1, 12, 2, 19}) order.push_back(r);  // jumping
  for (int r : order) {
    for (int c = 1; c <= 5; ++c) {
      const auto it = expected.find({r, c});
      EXPECT_EQ(sheet->CellText(r, c), it == expected.end() ? "" : it->second)
          << "row " << r << ", column " << c;
    }
  }
}

// The .xls file stays open while its sheet lives: removed, it still reads as
// opened; written to, rows whose records must be read again stop with
// SheetRereadError rather than read as empty. (The stream is larger than the
// blocks of it kept in memory, which hold its end after opening.)
TEST(XlsFile, AFileWrittenToSinceItWasOpenedCannotBeReadOn) {
  std::vector<test::Row> rows;
  for (int row = 1; row <= 40000; ++row) rows.push_back({row});
  const std::string folder = test::MakeTempFolder();
  const std::string made = test::MakeWorkbook(folder, "made.xls", rows);
  const std::string path = folder + "/open.xls";
  for (const bool removed : {true, false}) {
    std::filesystem::copy_file(made, path, std::filesystem::copy_options::overwrite_existing);
    const auto sheet = OpenFirstWorksheet(path);
    if (removed) {
      std::filesystem::remove(path);
      EXPECT_EQ(sheet->CellText("A1"), "1");
    } else {
      std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
      EXPECT_THROW(sheet->CellText("A1"), SheetRereadError);
    }
  }
  std::filesystem::remove_all(folder);
}

TEST(OleFile, StreamsInRegularSectorsAndInTheMiniStream) {
  std::string small(100, 'x'), large;
  for (int i = 0; i < 5000; ++i) large += static_cast<char>('a' + i % 26);
  EXPECT_EQ(ReadOleStream(MakeOle("Workbook", small), {"Workbook"}), small);
  EXPECT_EQ(ReadOleStream(MakeOle("Book", large), {"Workbook", "Book"}), large);
  EXPECT_TRUE(HasOleStream(MakeOle("EncryptedPackage", small), "EncryptedPackage"));
  EXPECT_THROW(ReadOleStream(MakeOle("WordDocument", small), {"Workbook", "Book"}), OleError);
}

TEST(OleFile, BrokenChainsAndSectorsOutsideTheFileAreErrors) {
  std::string large(5000, 'y');
  std::string looped = MakeOle("Workbook", large);
  looped.replace(512 + 2 * 4, 4,
                 U32(2));  // the stream's first sector points to itself
  EXPECT_THROW(ReadOleStream(looped, {"Workbook"}), OleError);

  std::string outside = MakeOle("Workbook", large);
  outside.replace(1024 + 128 + 0x74, 4,
                  U32(9999));  // the stream starts past the end
  EXPECT_THROW(ReadOleStream(outside, {"Workbook"}), OleError);

  std::string oversized = MakeOle("Workbook", large);
  oversized.replace(1024 + 128 + 0x78, 4, U32(0x7FFFFFFF));
  EXPECT_THROW(ReadOleStream(oversized, {"Workbook"}), OleError);

  EXPECT_THROW(ReadOleStream(MakeOle("Workbook", large).substr(0, 1500), {"Workbook"}), OleError);
}

}  // namespace
}  // namespace zrv::workbook
