// `zorvit cells`: the first worksheet as CSV, the same for both formats.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/TestDatabase.h"
#include "tests/support/Workbooks.h"

namespace zrv::workbook {
namespace {

using test::Cell;

struct Result {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

Result RunCells(const std::string& folder, const std::string& arguments) {
  const std::string out = folder + "/out.txt";
  const std::string err = folder + "/err.txt";
  const std::string command = std::string(ZRV_BINARY_DIR) +
                              "/bin/zorvit cells " + arguments + " >" + out +
                              " 2>" + err;
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
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
    const Result result =
        RunCells(folder_, test::MakeWorkbook(folder_, name, rows));
    EXPECT_EQ(result.exitCode, 0) << name << ": " << result.err;
    EXPECT_EQ(result.out, expected) << name;
  }
}

TEST_F(CellsCommand, ReportsWhatItCannotRead) {
  const Result usage = RunCells(folder_, "");
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_NE(usage.err.find("zorvit cells: липсва КНИГА"), std::string::npos);

  const std::string missing = folder_ + "/missing.xls";
  const Result failed = RunCells(folder_, missing);
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_EQ(failed.out, "");
  EXPECT_NE(failed.err.find(missing), std::string::npos) << failed.err;
}

}  // namespace
}  // namespace zrv::workbook
