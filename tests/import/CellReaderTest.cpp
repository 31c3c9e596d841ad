// Cell reading of the import and the lines of its error list.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "common/Text.h"
#include "import/CellReader.h"
#include "import/ColumnMap.h"
#include "import/ErrorList.h"
#include "platform/workbook/CellAddress.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Workbooks.h"

namespace zrv::import {
namespace {

// A worksheet given by cell names; the cell named "B9" fails as an automation
// call could.
class TableSheet : public workbook::Worksheet {
 public:
  explicit TableSheet(std::map<std::string, std::string> cells) : cells_(std::move(cells)) {}
  int UsedRowCount() const override { return 9; }
  int UsedColumnCount() const override { return 36; }
  std::string CellText(const std::string& name) const override {
    asked.push_back(name);
    if (name == "B9") throw workbook::WorkbookError("the cell cannot be read");
    auto it = cells_.find(name);
    return it == cells_.end() ? "" : it->second;
  }
  std::string CellText(int, int) const override { return ""; }
  mutable std::vector<std::string> asked;

 private:
  std::map<std::string, std::string> cells_;
};

TEST(ReadCell, TrimsBlanksAndControlCharactersAndNamesColumnsPastZ) {
  TableSheet sheet(
      {{"B2", "  12.03.2007  "}, {"AE17", "\t\r\n 15.03.2007\x01"}, {"AJ3", "Д"}, {"A9", "a b"}});
  CellReader reader(&sheet);
  EXPECT_EQ(reader.ReadCell("B", 2), "12.03.2007");
  EXPECT_EQ(reader.ReadCell("AE", 17), "15.03.2007");
  EXPECT_EQ(reader.ReadCell("AJ", 3), "Д");
  EXPECT_EQ(reader.ReadCell("A", 9), "a b");
  EXPECT_EQ(reader.ReadCell("C", 2), "");
  EXPECT_EQ(sheet.asked, (std::vector<std::string>{"B2", "AE17", "AJ3", "A9", "C2"}));
  EXPECT_EQ(reader.UsedRowCount(), 9);
}

TEST(ReadCell, AFailedReadIsAnEmptyCellForThatCellOnly) {
  TableSheet sheet({{"A9", "x"}, {"C9", "y"}});
  CellReader reader(&sheet);
  EXPECT_EQ(reader.ReadCell("B", 9), "");
  EXPECT_EQ(reader.ReadCell("A", 9), "x");
  EXPECT_EQ(reader.ReadCell("C", 9), "y");

  CellReader without(nullptr);
  EXPECT_EQ(without.ReadCell("A", 1), "");
  EXPECT_EQ(without.UsedRowCount(), 0);
}

TEST(ReadCell, ReadsWorkbookCellsAsTheParsersExpectThem) {
  const std::string folder = test::MakeTempFolder();
  const std::vector<test::Row> rows = {
      test::Lettered({{"A", " 12/2007 "},
                      {"B", test::Cell::Date(2007, 3, 12, "d.m.yyyy")},
                      {"AD", test::Cell::Number(1234.5, "#,##0.00")},
                      {"AE", test::Cell::Date(2007, 3, 15, "m/d/yyyy")},
                      {"E", test::Cell::Number(41010101, "0000000000")}}),
  };
  for (const char* name : {"row.xls", "row.xlsx"}) {
    const auto sheet = workbook::OpenFirstWorksheet(test::MakeWorkbook(folder, name, rows));
    CellReader reader(sheet.get());
    EXPECT_EQ(reader.ReadCell(column::kContractNumber, 1), "12/2007") << name;
    EXPECT_EQ(reader.ReadCell(column::kDrawnUpDate, 1), "12.03.2007") << name;
    EXPECT_EQ(reader.ReadCell(column::kStartDate, 1), "15.03.2007") << name;
    EXPECT_EQ(reader.ReadCell(column::kTenantNumber, 1), "0041010101") << name;
    double rent = 0;
    EXPECT_TRUE(TryParseFloat(reader.ReadCell(column::kMonthlyRent, 1), rent)) << name;
    EXPECT_DOUBLE_EQ(rent, 1234.5) << name;
  }
  std::filesystem::remove_all(folder);
}

TEST(ErrorList, LinesNameTheSubjectAndTheRow) {
  ErrorList list;
  list.ReportMissing(subject::kRentType, 7, true);
  list.ReportMissing(subject::kMonthlyRent, 9, true);
  list.ReportMissing(subject::kAnnexDate, 12, false);
  list.ReportMissing(subject::kSettlement, 4, true);
  EXPECT_EQ(list.Lines(), (std::vector<std::string>{
                              "FATAL : Липсва вид наем на ред номер : 7",
                              "FATAL : Липсва месечна цена(или въведената стойност е невалидна) на "
                              "ред номер : 9",
                              "WARNING : Липсва Дата на анекс(Анексът не е записан) на ред номер : "
                              "12",
                              "FATAL : Липсва Населено място или не е валидно  на ред номер : 4",
                          }));
  EXPECT_EQ(MissingLine("Проблем", 100000, true), "FATAL : Липсва Проблем на ред номер : 100000");
}

TEST(ErrorList, ObserversSeeEachLineAsItIsAdded) {
  ErrorList list;
  std::vector<std::string> first;
  std::vector<size_t> sizes;
  list.Subscribe([&](const std::string& line) { first.push_back(line); });
  list.Subscribe([&](const std::string&) { sizes.push_back(list.Lines().size()); });
  list.ReportMissing(subject::kContractNumber, 2, true);
  list.Add("a line as it is");
  EXPECT_EQ(first, (std::vector<std::string>{"FATAL : Липсва номер на договор на ред номер : 2",
                                             "a line as it is"}));
  EXPECT_EQ(sizes, (std::vector<size_t>{1, 2}));  // told after the line is stored
  list.Clear();
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(first.size(), 2u);
}

// A row tried again after another workstation's write takes its lines back:
// observers must see the lines of the try that counts, once.
TEST(ErrorList, LinesOfATryTakenBackAreNeverSeenByObservers) {
  ErrorList list;
  std::vector<std::string> seen;
  list.Subscribe([&](const std::string& line) { seen.push_back(line); });
  list.Add("before");
  size_t mark = list.Hold();
  list.ReportWarning("first try", 5);
  EXPECT_EQ(seen.size(), 1u);
  list.TakeBack(mark);
  mark = list.Hold();
  list.ReportFatal("second try", 5);
  list.Publish();
  list.Add("after");
  EXPECT_EQ(list.Lines(), seen);
  EXPECT_EQ(seen,
            (std::vector<std::string>{"before", "FATAL : second try на ред номер : 5", "after"}));
  EXPECT_EQ(list.Rows(), (std::vector<int>{0, 5, 0}));
}

TEST(ColumnMap, EveryColumnIsOneOfTheLayoutAndNoneIsReadTwice) {
  const std::vector<std::string> columns = {column::kContractNumber,
                                            column::kDrawnUpDate,
                                            column::kRentType,
                                            column::kTenantName,
                                            column::kTenantNumber,
                                            column::kTenantVatNumber,
                                            column::kTenantSettlement,
                                            column::kTenantAddress,
                                            column::kRepresentativeName,
                                            column::kRepresentativeNumber,
                                            column::kRepresentativeDocument,
                                            column::kRepresentativePhone,
                                            column::kContractText,
                                            column::kObjectType,
                                            column::kComment,
                                            column::kPurpose,
                                            column::kArea,
                                            column::kSettlement,
                                            column::kLocality,
                                            column::kQuarter,
                                            column::kStreet,
                                            column::kStreetNumber,
                                            column::kAddress,
                                            column::kStoredDocumentNumber,
                                            column::kCadastralId,
                                            column::kTermMonths,
                                            column::kMonthlyRent,
                                            column::kStartDate,
                                            column::kAnnexEndDate,
                                            column::kStatusDate,
                                            column::kStatusNote,
                                            column::kStatusFlag,
                                            column::kAdditionalText};
  std::set<int> seen;
  for (const std::string& letters : columns) {
    const int number = workbook::ColumnNumber(letters);
    EXPECT_TRUE(number >= 1 && number <= 36) << letters;
    EXPECT_TRUE(seen.insert(number).second) << letters << " twice";
  }
  // A to AJ is 36 columns; L, M and AA are not read.
  EXPECT_EQ(seen.size(), 33u);
  for (const char* unread : {"L", "M", "AA"})
    EXPECT_EQ(seen.count(workbook::ColumnNumber(unread)), 0u);
}

}  // namespace
}  // namespace zrv::import
