// Rows that used to be stored wrongly or lost without a word: each is now
// stored exactly or refused with a line that says which row and why.

#include <gtest/gtest.h>

#include "tests/import/ImportRunFixture.h"

namespace zrv::import {
namespace {

const char kEndBeforeStart[] =
    "WARNING : Липсва Крайна дата на анекс след началото му(Анексът не е "
    "записан) на ред номер : ";
const char kNotLater[] =
    "WARNING : Липсва <>Датата на влизане в сила на анекс е по-ранна от "
    "предишната(Анексът не е записан) на ред номер : ";

class RowExactnessTest : public ImportRunTest {
 protected:
  std::string Price(int year, int month) {
    return Scalar("SELECT ri_price FROM rentsinfo WHERE ri_year = " + std::to_string(year) +
                  " AND ri_month = " + std::to_string(month));
  }
};

TEST_F(RowExactnessTest, AnAnnexThatCannotBeStoredIsRefusedAlone) {
  // The contract runs from 01.02.2007 to 01.02.2008.
  const RunResult result = Import({
      ContractRow("10", "7001010011"),
      AnnexRow("10", Cell::Date(2007, 6, 1), {{"AD", 150}}),
      AnnexRow("10", Cell::Date(2008, 3, 1)),  // after the term, no stop
      AnnexRow("10", Cell::Date(2007, 9, 1),
               {{"AF", Cell::Date(2007, 8, 1)}}),  // stop typed before start
      AnnexRow("10", Cell::Date(2007, 10, 1), {{"AD", "1e17"}}),
  });
  EXPECT_EQ(result.summary.contractsStored, 1);
  EXPECT_EQ(result.summary.annexesStored, 1);
  EXPECT_EQ(result.summary.annexesDropped, 3);
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         kEndBeforeStart + std::string("4"), kEndBeforeStart + std::string("5"),
                         "WARNING : Липсва Месечна цена на анекс под 10^17(Анексът не е "
                         "записан) на ред номер : 6"}));
  EXPECT_EQ(Count("anecs"), 2);
  EXPECT_EQ(Scalar("SELECT doc_datastop FROM documents"), "01.02.2008");
  EXPECT_EQ(Price(2007, 5), "100");
  EXPECT_EQ(Price(2007, 12), "150");
}

TEST_F(RowExactnessTest, AnAnnexNotAfterThePreviousOneIsRefused) {
  const RunResult result = Import({
      ContractRow("20", "7001010011",
                  {{"AE", Cell::Date(2024, 1, 1)}, {"B", Cell::Date(2024, 1, 1)}}),
      AnnexRow("20", Cell::Date(2024, 3, 1), {{"AD", 200}}),
      AnnexRow("20", Cell::Date(2024, 3, 1), {{"AD", 300}}),  // the same day
      AnnexRow("20", Cell::Date(2024, 2, 1), {{"AD", 250}}),  // earlier
      AnnexRow("20", Cell::Date(2024, 6, 1), {{"AD", 400}}),
  });
  EXPECT_EQ(result.summary.annexesStored, 2);
  EXPECT_EQ(Lines(),
            (std::vector<std::string>{kNotLater + std::string("4"), kNotLater + std::string("5")}));
  EXPECT_EQ(Count("anecs", "an_dtstop < an_dtstart"), 0);
  EXPECT_EQ(Price(2024, 2), "100");
  EXPECT_EQ(Price(2024, 5), "200");
  EXPECT_EQ(Price(2024, 12), "400");
}

TEST_F(RowExactnessTest, RefusedRowsNameTheirColumnAndRow) {
  const char* const limits =
      "(датите трябва да са в годините 1900 - 9899, а срокът - до 1200 "
      "месеца)";
  const std::vector<std::pair<Cells, std::string>> cases = {
      // A year typed apart from the date is not replaced by the current one.
      {{{"B", "05.03. 2007"}}, "дата на съставяне(или въведената стойност е невалидна)"},
      {{{"AE", "01.02. 2007"}}, "начало на договора(или въведената стойност е невалидна)"},
      // A NUL would cut the stored text.
      {{{"Q", std::string("бележка") + '\0' + "скрита"}},
       "коментар(колона Q: най-много 1000 знака, само от кодовата таблица "
       "Windows-1251)"},
      {{{"A", std::string(51, '7')}},
       "номер на договор(колона A: най-много 50 знака, само от кодовата "
       "таблица Windows-1251)"},
      {{{"AD", "1e17"}}, "месечна цена(или въведената стойност е невалидна)"},
      {{{"S", "100000000000000000 квм"}}, "площ(или въведената стойност е невалидна)"},
      {{{"A", "88"}, {"AC", 1300}}, std::string("погасителен план за договор 88") + limits},
      {{{"A", "89"}, {"AE", "01.02.1850"}}, std::string("погасителен план за договор 89") + limits},
  };
  const char* const egns[] = {"8001010008", "8001010013", "8001010029", "8001010034",
                              "8001010040", "8001010055", "8001010060", "8001010076"};
  std::vector<Row> rows;
  std::vector<std::string> expected;
  for (const auto& [cells, subject] : cases) {
    const size_t i = rows.size();
    rows.push_back(ContractRow(std::to_string(i + 1), egns[i], cells));
    expected.push_back("FATAL : Липсва " + subject + " на ред номер : " + std::to_string(i + 2));
  }
  const RunResult result = Import(rows);
  EXPECT_EQ(result.summary.rowsRefused, static_cast<int>(cases.size()));
  EXPECT_EQ(Lines(), expected);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Count("documents"), 0);
}

TEST_F(RowExactnessTest, AmountsRoundHalfAwayFromZeroLikeTheSchedule) {
  Import({ContractRow("30", "7001010011", {{"AD", "2.675"}}),
          AnnexRow("30", Cell::Date(2007, 6, 1), {{"AD", "2.665"}})});
  ASSERT_TRUE(Lines().empty());
  EXPECT_EQ(Count("documents", "doc_price = 2.68"), 1);
  EXPECT_EQ(Count("anecs", "an_num = 1 AND an_price = 2.68"), 1);
  EXPECT_EQ(Count("anecs", "an_num = 2 AND an_price = 2.67"), 1);
  EXPECT_EQ(Price(2007, 2), "2.68");
  EXPECT_EQ(Price(2007, 7), "2.67");
}

TEST_F(RowExactnessTest, IdentityNumbersWithoutBlanksAndRepresentativesOnce) {
  const Cells firm = {{"D", "Агро ООД"}, {"I", "Иван Петров"}};
  Import({ContractRow("1", "175 074 752", firm), ContractRow("2", "175074752", firm),
          ContractRow("3", "7001010001")});  // check digit 6 expected
  EXPECT_EQ(Lines(), std::vector<std::string>{"WARNING : Липсва вярна контролна цифра на "
                                              "ЕГН/ЛНЧ/Булстат в колона E на ред номер : 4"});
  EXPECT_EQ(Count("persons", "per_egn = '175074752' AND per_flag = 'F'"), 1);
  EXPECT_EQ(Count("persons", "per_name = 'Иван Петров'"), 1);
  EXPECT_EQ(Count("persons", "per_egn = '7001010001' AND per_flag = 'T'"), 1);
  EXPECT_EQ(Count("documents"), 3);
}

TEST_F(RowExactnessTest, TheSameWorkbookTwiceStoresItsContractsOnce) {
  const std::vector<Row> rows = {
      ContractRow("1", "7001010011", {{"AB", "63427.777.123.1.2"}}),
      AnnexRow("1", Cell::Date(2007, 6, 1)),
      ContractRow("2", "7001010027"),                     // no identifier: its property is new
      ContractRow("3", "7001010032", {{"AD", Cell()}})};  // refused
  const std::string path = Workbook(rows);
  ImportFile(path);
  const char* const tables[] = {"documents", "anecs", "rentsinfo", "storage", "persons", "imot"};
  std::vector<int> before;
  for (const char* table : tables) before.push_back(Count(table));

  RunResult again = ImportFile(path);
  EXPECT_EQ(again.summary.contractsStored, 0);
  EXPECT_EQ(again.summary.rowsSkipped, 2);
  EXPECT_EQ(again.summary.rowsRefused, 1);
  ASSERT_EQ(Lines().size(), 3u);
  EXPECT_EQ(Lines()[0], "WARNING : Договорът вече е записан на ред номер : 2");
  EXPECT_EQ(Lines()[1], "WARNING : Договорът вече е записан на ред номер : 4");
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(Count(tables[i]), before[i]) << tables[i];

  again = ImportFile(path, {.allowDuplicates = true});
  EXPECT_EQ(again.summary.contractsStored, 2);
  EXPECT_EQ(Count("documents"), 2 * before[0]);
}

TEST_F(RowExactnessTest, AContractKeyHoldsOnlyWhileItsContractDoes) {
  const std::string path = Workbook({ContractRow("1", "7001010011"), ContractRow("2", "7001010027"),
                                     ContractRow("3", "7001010032")});
  ImportFile(path);
  // Another program deletes contract 1 and renumbers 2 and 3; the key of 3 is
  // left as a workstation holds it whose contract the look-up does not see.
  database.Exec(
      "UPDATE contract_keys SET ck_docid = NULL WHERE ck_docid = "
      "(SELECT doc_id FROM documents WHERE doc_nomtxt = '3')");
  database.Exec("DELETE FROM documents WHERE doc_nomtxt = '1'");
  database.Exec(
      "UPDATE documents SET doc_nomtxt = doc_nomtxt || 'a' "
      "WHERE doc_nomtxt IN ('2', '3')");

  const RunResult again = ImportFile(path);
  EXPECT_EQ(again.summary.contractsStored, 2);
  EXPECT_EQ(again.summary.rowsSkipped, 1);
  EXPECT_EQ(Lines(),
            std::vector<std::string>{"WARNING : Договорът вече е записан на ред номер : 4"});

  // A row reusing a stored property gives an address no key can hold (outside
  // Windows-1251): it is stored on the look-up alone.
  const Cells plot = {{"AB", "63427.777.123.1.2"}};
  Cells odd = plot;
  odd.push_back({"Y", "Ĉ"});
  Import({ContractRow("4", "7001010043", plot), ContractRow("5", "7001010043", odd)});
  EXPECT_EQ(Count("documents", "doc_nomtxt = '5'"), 1);
}

}  // namespace
}  // namespace zrv::import
