#pragma once
// A fresh database, a started import run and workbooks in the contract layout
// for the import tests. Every workbook gets a header row, so data rows start at
// row 2 as in real files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "import/ImportRun.h"
#include "tests/support/RecordingMessages.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Workbooks.h"

namespace zrv::import {

using test::Cell;
using test::Row;
using Cells = std::vector<std::pair<std::string, Cell>>;

inline const std::vector<std::string>& ColumnLetters() {
  static const std::vector<std::string> letters = {
      "A", "B", "C",  "D",  "E",  "F",  "G",  "H",  "I",  "J",  "K",  "L",
      "M", "N", "O",  "P",  "Q",  "R",  "S",  "T",  "U",  "V",  "W",  "X",
      "Y", "Z", "AA", "AB", "AC", "AD", "AE", "AF", "AG", "AH", "AI", "AJ"};
  return letters;
}

// A row from cells named by column; later entries replace earlier ones, an
// empty Cell() clears.
inline Row MakeRow(const Cells& cells) {
  std::map<std::string, Cell> byColumn;
  for (const auto& [column, cell] : cells) byColumn[column] = cell;
  Row row;
  for (const auto& letter : ColumnLetters()) {
    auto it = byColumn.find(letter);
    row.push_back(it == byColumn.end() ? Cell() : it->second);
  }
  return row;
}

inline Cells Join(Cells base, const Cells& overrides) {
  base.insert(base.end(), overrides.begin(), overrides.end());
  return base;
}

// A complete contract row: a plot in Русе let to a citizen with the given
// personal number for twelve months from 01.02.2007 at 100.00 a month.
inline Row ContractRow(const std::string& number, const std::string& egn,
                       const Cells& overrides = {}) {
  return MakeRow(Join({{"A", number},
                       {"B", Cell::Date(2007, 1, 15)},
                       {"C", "Наем терен"},
                       {"D", "Наемател " + egn},
                       {"E", egn},
                       {"T", "Русе"},
                       {"AC", 12},
                       {"AD", 100},
                       {"AE", Cell::Date(2007, 2, 1)}},
                      overrides));
}

// An annex row of contract `number` in force from `start`.
inline Row AnnexRow(const std::string& number, Cell start, const Cells& overrides = {}) {
  return MakeRow(Join({{"A", number}, {"B", Cell::Date(2007, 6, 1)}, {"AE", start}}, overrides));
}

inline Row EmptyRow() { return MakeRow({}); }

class ImportRunTest : public ::testing::Test {
 protected:
  ImportRunTest() : folder(test::MakeTempFolder()) {}
  ~ImportRunTest() override {
    run.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  void SetUp() override {
    run = std::make_unique<ImportRun>(RunContext{database.Connection(), kUserId}, messages);
    run->Start();
  }

  // Writes the rows below a header row into a workbook of the test's folder.
  std::string Workbook(const std::vector<Row>& rows, const std::string& name = "book.xls") {
    std::vector<Row> all = {MakeRow({{"A", "№ на договор"}, {"B", "Дата"}, {"AE", "Начало"}})};
    all.insert(all.end(), rows.begin(), rows.end());
    return test::MakeWorkbook(folder, name, all);
  }

  RunResult Import(const std::vector<Row>& rows, ImportOptions options = {},
                   ImportObserver* observer = nullptr) {
    return ImportFile(Workbook(rows), options, observer);
  }

  RunResult ImportFile(const std::string& path, ImportOptions options = {},
                       ImportObserver* observer = nullptr) {
    if (options.logFolder.empty()) options.logFolder = folder;
    return run->Run(
        options, [&path] { return std::optional<std::string>(path); }, observer);
  }

  const std::vector<std::string>& Lines() const { return run->ErrorLines(); }

  int Count(const std::string& table, const std::string& where = "1 = 1") {
    return database.ScalarInt("SELECT COUNT(*) FROM " + table + " WHERE " + where);
  }
  std::string Scalar(const std::string& sql) { return database.Scalar(sql); }

  // The log files written into the test's folder (not the workbooks of
  // refused rows beside them).
  std::vector<std::string> LogFiles() const {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("log_", 0) == 0 && entry.path().extension() == ".txt")
        found.push_back(entry.path().string());
    }
    return found;
  }

  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static constexpr int32_t kUserId = 7;
  test::TestDatabase database;
  test::RecordingMessages messages;
  std::string folder;
  std::unique_ptr<ImportRun> run;
};

}  // namespace zrv::import
