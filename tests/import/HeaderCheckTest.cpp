// The header row against the template's titles: the comparison without a
// workbook, then what a run does with a header that does not match.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/CellReader.h"
#include "import/HeaderCheck.h"
#include "platform/workbook/CellAddress.h"
#include "platform/workbook/Workbook.h"
#include "tests/import/ImportRunFixture.h"

namespace zrv::import {
namespace {

// The template's header row, A to AJ, with "(не се чете)" over L, M and AA.
std::vector<std::string> TemplateRow() {
  std::vector<std::string> row(36, "(не се чете)");
  for (const ColumnTitle& c : TemplateTitles()) row[workbook::ColumnNumber(c.column) - 1] = c.title;
  return row;
}

std::vector<std::string> Inserted(std::vector<std::string> row, int index,
                                  const std::string& title) {
  row.insert(row.begin() + index, title);
  return row;
}

std::vector<std::string> Erased(std::vector<std::string> row, int index) {
  row.erase(row.begin() + index);
  return row;
}

std::vector<std::string> LooselyTyped() {
  std::vector<std::string> row = TemplateRow();
  row[0] = "  №   НА ДОГОВОР ";
  row[3] = "наемател";
  row[4] = "ЕГН/Булстат\u00a0на\nнаемателя";
  row[28] = "Срок";    // AC: the first words of "Срок (месеци)"
  row[30] = "начало";  // AE
  return row;
}

TEST(HeaderCheck, NamesShiftedAndMissingColumnsOrNothing) {
  struct Case {
    const char* name;
    std::vector<std::string> row;
    std::vector<std::string> said;  // empty: no message
  } cases[] = {
      {"the template's header", TemplateRow(), {}},
      {"case, blanks and first words", LooselyTyped(), {}},
      {"a column inserted after D",
       Inserted(TemplateRow(), 4, "Пол"),
       {"Заглавният ред (ред 1) не съвпада",
        "\n- заглавията на колони E („ЕГН/Булстат на наемателя“) до AJ "
        "(„Допълнителен текст“) са с една колона надясно, в F до AK\n",
        "вмъкната или изтрита колона"}},
      {"column H deleted",
       Erased(TemplateRow(), 7),
       {"\n- липсва заглавието на колона H („Адрес на наемателя“)\n- "
        "заглавията на колони I („Представител (МОЛ)“) до AJ "
        "(„Допълнителен текст“) са с една колона наляво, в H до AI\n"}},
      {"one title changed",
       [] {
         auto row = TemplateRow();
         row[2] = "Тип наем";
         row[3] = "Име";
         return row;
       }(),
       {"\n- липсват заглавията на колони C („Вид наем“) до D („Наемател“)\n"}},
      {"two columns swapped",
       [] {
         auto row = TemplateRow();
         std::swap(row[0], row[1]);
         return row;
       }(),
       {"заглавието на колона A („№ на договор“) е в колона B\n",
        "заглавието на колона B („Дата на съставяне“) е в колона A\n"}},
      {"titles of its own", {"Номер", "Дата", "Вид", "Наемател"}, {}},
      {"an empty row", {}, {}},
  };
  for (const Case& c : cases) {
    const std::string message = HeaderMismatch(c.row, 1);
    if (c.said.empty()) {
      EXPECT_EQ(message, "") << c.name;
      continue;
    }
    for (const std::string& part : c.said)
      EXPECT_NE(message.find(part), std::string::npos) << c.name << "\n" << message;
  }
}

TEST(HeaderCheck, ManyFindingsAreCountedAfterTheFirstSix) {
  // Every other title changed from B on: sixteen findings of one column.
  std::vector<std::string> row = TemplateRow();
  int changed = 0;
  for (size_t i = 1; i < TemplateTitles().size(); i += 2, ++changed)
    row[workbook::ColumnNumber(TemplateTitles()[i].column) - 1] = "x";
  ASSERT_EQ(changed, 16);
  const std::string message = HeaderMismatch(row, 4);
  EXPECT_NE(message.find("(ред 4)"), std::string::npos);
  EXPECT_NE(message.find("\n- още 10 колони не съвпадат\n"), std::string::npos) << message;
}

// The titles here are those examples/make_contracts.pl writes into the example
// and the template workbook.
TEST(HeaderCheck, TheExampleWorkbooksHeaderMatches) {
  const auto sheet =
      workbook::OpenFirstWorksheet(std::string(ZRV_SOURCE_DIR) + "/examples/contracts.xls");
  const CellReader cells(sheet.get());
  std::vector<std::string> row;
  for (int column = 1; column <= kHeaderColumnsRead; ++column)
    row.push_back(cells.ReadCell(1, column));
  for (const ColumnTitle& c : TemplateTitles())
    EXPECT_EQ(row[workbook::ColumnNumber(c.column) - 1], c.title) << c.column;
  EXPECT_EQ(HeaderMismatch(row, 1), "");
}

// The questions and messages of a run, and its error-list lines, in the order
// they came.
class Events : public ui::Messages, public ImportObserver {
 public:
  explicit Events(bool answer) : answer_(answer) {}
  void ShowMessage(const std::string& text) override { said.push_back("message: " + text); }
  bool Ask(const std::string& text, const std::string& question, bool /*unanswered*/) override {
    said.push_back("question: " + text + " " + question);
    return answer_;
  }
  void LineAdded(const std::string& line) override { said.push_back("line: " + line); }
  std::vector<std::string> said;

 private:
  bool answer_;
};

test::Row CellsOf(const std::vector<std::string>& texts) {
  return test::Row(texts.begin(), texts.end());
}

// A contract row under the template's header, and the same with a column
// inserted after D.
TEST_F(ImportRunTest, AHeaderThatDoesNotMatchIsAskedAboutOnceOrRefused) {
  const test::Row row = ContractRow("1/2007", "7501010010");
  test::Row shiftedRow = row;
  shiftedRow.insert(shiftedRow.begin() + 4, test::Cell());
  const std::string matching =
      test::MakeWorkbook(folder, "matching.xls", {CellsOf(TemplateRow()), row});
  const std::string shifted = test::MakeWorkbook(
      folder, "shifted.xls", {CellsOf(Inserted(TemplateRow(), 4, "Пол")), shiftedRow});
  const char* const told = "Заглавният ред (ред 1)";
  struct Case {
    const char* name;
    std::string workbook;
    bool answer, strict, checkOnly;
    const char* firstRow;
    RunOutcome outcome;
    const char* first;  // how the first event begins; null: no header told
  } cases[] = {
      {"matching", matching, true, true, false, "2", RunOutcome::kFinished, nullptr},
      {"go on", shifted, true, false, false, "2", RunOutcome::kFinished, "question: "},
      {"do not go on", shifted, false, false, false, "2", RunOutcome::kCancelled, "question: "},
      {"do not go on, dry run", shifted, false, false, true, "2", RunOutcome::kCancelled,
       "question: "},
      {"strict", shifted, true, true, false, "2", RunOutcome::kNotStarted, "message: "},
      {"no header row", shifted, true, true, false, "1", RunOutcome::kFinished, nullptr},
  };
  for (const Case& c : cases) {
    Events events(c.answer);
    ImportRun asking(RunContext{database.Connection(), kUserId, {}}, events);
    asking.Start();
    ImportOptions options;
    options.logFolder = folder;
    options.strictHeader = c.strict;
    options.checkOnly = c.checkOnly;
    options.firstRowText = c.firstRow;
    const int before = Count("documents");
    const RunResult result = asking.Run(
        options, [&] { return std::optional<std::string>(c.workbook); }, &events);
    EXPECT_EQ(result.outcome, c.outcome) << c.name;
    size_t headerTold = 0;
    for (const std::string& said : events.said) headerTold += said.find(told) != std::string::npos;
    EXPECT_EQ(headerTold, c.first ? 1u : 0u) << c.name;
    if (!c.first) continue;
    // Before the first row: nothing else came before it.
    ASSERT_FALSE(events.said.empty()) << c.name;
    EXPECT_EQ(events.said[0].rfind(c.first + std::string(told), 0), 0u)
        << c.name << ": " << events.said[0];
    if (result.outcome == RunOutcome::kFinished) continue;
    EXPECT_EQ(events.said.size(), 1u) << c.name;
    EXPECT_EQ(result.reason.rfind(told, 0), 0u) << c.name;
    EXPECT_EQ(Count("documents"), before) << c.name;
  }
  EXPECT_EQ(Count("documents", "doc_nomtxt = '1/2007'"), 1);
}

}  // namespace
}  // namespace zrv::import
