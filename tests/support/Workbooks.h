#pragma once
// Test workbooks made from tables written in the test source. A table is a list
// of rows, each a list of cells from column A on; MakeWorkbook writes it as
// JSON and has the fixture script (tests/fixtures/make_workbook.pl) turn it
// into an .xls or .xlsx file.

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace zrv::test {

// One cell: empty, text, number, date (with an optional time of day), formula
// with its cached result, or a formatted cell without a value. Any of them may
// carry a number format code.
class Cell {
 public:
  enum class Kind { Empty, Text, Number, Date, Formula, Blank };

  Cell() = default;
  Cell(const char* text) : kind_(Kind::Text), text_(text) {}  // NOLINT: tables read better
  Cell(std::string text) : kind_(Kind::Text), text_(std::move(text)) {}  // NOLINT
  Cell(double number) : kind_(Kind::Number), number_(number) {}          // NOLINT
  Cell(int number) : kind_(Kind::Number), number_(number) {}             // NOLINT

  static Cell Number(double value, std::string format);
  // A date typed as a date; without a format it shows as dd.mm.yyyy.
  static Cell Date(int year, int month, int day, std::string format = "");
  static Cell DateTime(int year, int month, int day, int hour, int minute, int second,
                       std::string format = "");
  // A formula ("=B2*2") with the result a spreadsheet application would have
  // stored.
  static Cell Formula(std::string formula, double cached, std::string format = "");
  static Cell FormulaText(std::string formula, std::string cached);
  static Cell Blank(std::string format);

  // The same cell with a number format code ("0.00", "@", "dd.mm.yyyy").
  Cell WithFormat(std::string format) const;

  // The cell as a JSON object of the fixture script, or "null" when empty.
  std::string ToJson() const;

 private:
  Kind kind_ = Kind::Empty;
  std::string text_;   // text, date "yyyy-mm-dd", formula or the cached text result
  std::string time_;   // "hh:mm:ss" of a date, "" for a whole day
  double number_ = 0;  // number or cached numeric result
  bool cachedText_ = false;
  std::string format_;
};

using Row = std::vector<Cell>;

// A row given by column letters: Lettered({{"A", "12"}, {"AE", Cell::Date(2007,
// 3, 15)}}). Columns left out are empty.
Row Lettered(std::initializer_list<std::pair<std::string, Cell>> cells);

// Writes `rows` as the first worksheet of folder/name (".xls" or ".xlsx"
// chooses the format) and gives the file's path. Extra worksheets after the
// first are created empty when `otherSheets` names them. Throws
// std::runtime_error when the script fails.
std::string MakeWorkbook(const std::string& folder, const std::string& name,
                         const std::vector<Row>& rows,
                         const std::vector<std::string>& otherSheets = {});

// Runs the fixture script on a JSON table file written by the caller.
void RunFixtureScript(const std::string& jsonPath, const std::string& outputPath);

}  // namespace zrv::test
