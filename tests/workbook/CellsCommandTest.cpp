// `zorvit cells`: the first worksheet as CSV, the same for both formats.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TestDatabase.h"
#include "tests/support/Workbooks.h"
#include "tests/support/Zorvit.h"

namespace zrv::workbook {
namespace {

using test::Cell;

test::ZorvitResult RunCells(const std::string& folder,
                            const std::vector<std::string>& arguments) {
  std::vector<std::string> args = {"cells"};
  args.insert(args.end(), arguments.begin(), arguments.end());
  return test::RunZorvit(folder, args);
}

class CellsCommand : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = test::MakeTempFolder(); }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string folder_;
};

TEST_F(CellsCommand, PrintsTheUsedRangeAsCsvAlikeForBothFormats) {
  const std::vector<test::Row> rows = {
      {"Номер", "Дата", "Цена"},
      {"  12  ", Cell::Date(2007, 3, 15), Cell::Number(1234.5, "#,##0.00")},
      {},
      {"a,b", "say \"hi\"", "two\nlines"},
      {Cell(), Cell(), Cell(), "D"},
  };
  const std::string expected =
      "Номер,Дата,Цена,\r\n"
      "12,15.03.2007,1 234.50,\r\n"
      ",,,\r\n"
      "\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",\r\n"
      ",,,D\r\n";
  for (const char* name : {"table.xls", "table.xlsx"}) {
    const auto result =
        RunCells(folder_, {test::MakeWorkbook(folder_, name, rows)});
    EXPECT_EQ(result.exitCode, 0) << name << ": " << result.err;
    EXPECT_EQ(result.out, expected) << name;
  }
}

TEST_F(CellsCommand, ReportsWhatItCannotRead) {
  const auto usage = RunCells(folder_, {});
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_NE(usage.err.find("zorvit cells: липсва КНИГА"), std::string::npos);

  const std::string missing = folder_ + "/missing.xls";
  const auto failed = RunCells(folder_, {missing});
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_EQ(failed.out, "");
  EXPECT_NE(failed.err.find(missing), std::string::npos) << failed.err;
}

}  // namespace
}  // namespace zrv::workbook
