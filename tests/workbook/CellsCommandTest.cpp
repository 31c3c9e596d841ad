// `zorvit cells`: the first worksheet as CSV, the same for both formats.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tests/support/TestDatabase.h"
#include "tests/support/Workbooks.h"
#include "tests/support/Zorvit.h"

namespace zrv::workbook {
namespace {

using test::Cell;

test::ZorvitResult RunCells(const std::string& folder, const std::vector<std::string>& arguments) {
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
    const auto result = RunCells(folder_, {test::MakeWorkbook(folder_, name, rows)});
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

// Each kind of path that is no workbook file has its own reason, and a FIFO is
// refused at once rather than waited on.
TEST_F(CellsCommand, NamesWhyAPathIsNoWorkbookFile) {
  const std::string fifo = folder_ + "/fifo.xlsx";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string loop = folder_ + "/loop.xlsx";
  std::filesystem::create_symlink(loop, loop);
  std::vector<std::pair<std::string, std::string>> cases = {
      {folder_ + "/missing.xlsx", "файлът не съществува"},
      {folder_, "това е папка"},
      {fifo, "именуван канал (FIFO)"},
      {loop, "цикъл от символни връзки"},
  };
  if (geteuid() != 0) {  // root reads any file
    const std::string locked = folder_ + "/locked.xlsx";
    std::ofstream(locked) << "x";
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    cases.emplace_back(locked, "няма права за четене");
  }
  for (const auto& [path, reason] : cases) {
    const auto result = RunCells(folder_, {path});
    EXPECT_EQ(result.exitCode, 1) << path;
    EXPECT_NE(result.err.find(path), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
  }
}

// A first row outside the sheet is a usage error, before any login.
TEST_F(CellsCommand, ImportRefusesAFirstRowOutsideTheSheet) {
  for (const char* row : {"-2147483648", "0", "1048577", "x"}) {
    const std::string command = std::string(ZRV_BINARY_DIR) + "/bin/zorvit import --first-row " +
                                row + " book.xlsx >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 2) << row;
  }
}

}  // namespace
}  // namespace zrv::workbook
