// `zorvit state`: what the printout shows and what it stands on, in each of
// its three forms.

#include <gtest/gtest.h>

#include <filesystem>

#include "common/Text.h"
#include "tests/cli/DebtorsVersusState.h"
#include "tests/cli/RunZorvit.h"
#include "tests/support/TestDatabase.h"

namespace zrv::test {
namespace {

// Contract 1: 2024 at 100.00 a month due on the 10th, base-rate interest with
// a 10 % penalty, in a currency code the program has no name for; paid on
// 05.01 for January to June, plus a payment of pay type 1 that no invoice
// owns. Contract 2: the same terms, nothing paid.
class StateCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = MakeTempFolder();
    for (int doc : {1, 2}) {
      db_.Exec(
          Format("insert into documents (doc_id, doc_nomtxt, doc_type, doc_datastart, "
                 "doc_datastop, doc_initsum, da_valuta, doc_typetext, doc_free, "
                 "doc_handrentinfo, da_rf3) values (%d, \"%d/2024\", 1002, "
                 "\"01.01.2024\", \"31.12.2024\", 0, 7, \"Наем\", \"F\", \"F\", 0)",
                 doc, doc));
      db_.Exec(
          Format("insert into Anecs (AN_ID, AN_NUM, AN_PRICE, AN_DTSTART, AN_DTSTOP, "
                 "AN_LTYPE, AN_LPERCENT, AN_LMAX, AN_DDS, AN_PAYDAY, AN_FREEDATE) "
                 "values (%d, 1, 100, \"01.01.2024\", \"31.12.2024\", 1, 10, 0, 1201, "
                 "10, \"01.01.2024\")",
                 doc));
      for (int m = 1; m <= 12; ++m) {
        db_.Exec(
            Format("insert into RentsInfo (RI_DOCID, RI_YEAR, RI_MONTH, RI_DAYS, "
                   "RI_PRICE, RI_DTSTART, RI_CARRIED) values (%d, 2024, %d, 30, 100, "
                   "\"01.%02d.2024\", 0)",
                   doc, m, m));
      }
    }
    db_.Exec(
        "insert into Payment (P_ID, P_NUM, P_DATA, P_VAL, P_PAYTYPE, P_STATUS) "
        "values (1, 1, \"05.01.2024\", 600, 2, 1)");
    db_.Exec(
        "insert into PayDetails (PD_ID, PD_NUM, PD_YEAR, PD_MONTH, PD_SUM) "
        "values (1, 1, 2024, 1, 600)");
    db_.Exec(
        "insert into Payment (P_ID, P_NUM, P_DATA, P_VAL, P_PAYTYPE, P_STATUS) "
        "values (1, 2, \"06.01.2024\", 50, 1, 1)");
    db_.Connection().Close();  // the program opens the file on its own
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  ZorvitResult Run(const std::string& arguments) {
    return RunZorvit(folder_, db_.Path(), arguments);
  }
  // True when `part` is in `text`, runs of blanks read as one.
  static bool Has(const std::string& text, const std::string& part) {
    std::string squeezed;
    for (char c : text) {
      if (c != ' ' || squeezed.empty() || squeezed.back() != ' ') squeezed += c;
    }
    return squeezed.find(part) != std::string::npos;
  }

  TestDatabase db_;
  std::string folder_;
};

TEST_F(StateCommand, ShowsWhatItDidAndWhatItStandsOn) {
  const ZorvitResult text = Run("state 1 --date 15.02.2024");
  ASSERT_EQ(text.exitCode, 0) << text.err;
  const char* expected[] = {
      "Изтрити плащания без фактура: 1",
      "Внимание: не са заредени основни лихвени проценти",
      "Валута: 7",
      "Лихва платена до",
      "ДДС ост.",
      "\nПлащания:\n",
      "\nИстория на плащанията:\n",
      "\nЧакащи плащане фактури:\n",
      "\nДължимо: 0.00\n",
      "\nПлатено напред: 400.00\n",
  };
  for (const char* part : expected) EXPECT_TRUE(Has(text.out, part)) << part << "\n" << text.out;
  EXPECT_FALSE(Has(text.out, "Дължимо: -"));

  // Due on the state date itself: no interest yet, and no blank explanation.
  const ZorvitResult due = Run("state 2 --date 10.01.2024");
  EXPECT_FALSE(Has(due.out, "\n\n\n")) << due.out;

  const std::string rates = folder_ + "/rates.csv";
  WriteWholeFile(rates, "01.01.2024;31.01.2024;3.6\n");
  ASSERT_EQ(Run("rates import '" + rates + "'").exitCode, 0);
  const ZorvitResult later = Run("state 2 --date 15.02.2024");
  EXPECT_TRUE(Has(later.out, "Основните лихвени проценти са заредени до 31.01.2024")) << later.out;
  EXPECT_FALSE(Has(later.out, "не са заредени"));

  const ZorvitResult csv = Run("state 2 --date 15.02.2024 --format csv");
  EXPECT_EQ(csv.exitCode, 0);
  EXPECT_TRUE(Has(csv.out, "общо,Дължимо,200.00\r\n")) << csv.out;
  EXPECT_TRUE(Has(csv.out, "период,2024-01,100.00,0.00,100.00,0.00,20.00,")) << csv.out;
  const ZorvitResult json = Run("state 2 --date 15.02.2024 --format json");
  EXPECT_EQ(json.exitCode, 0);
  EXPECT_TRUE(Has(json.out, "\"due\": 200.00,")) << json.out;
  EXPECT_TRUE(Has(json.out, "\"period\": \"2024-01\", \"price\": 100.00"));

  const ZorvitResult help = Run("state --help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(Has(help.out, "изтрива плащанията от вид 1")) << help.out;
  EXPECT_EQ(Run("state 1 --format xml").exitCode, 2);
}

}  // namespace
}  // namespace zrv::test

namespace zrv::test {
namespace {

// `zorvit debtors` lists both contracts with the figures of their states and
// deletes nothing: the state after it still finds contract 1's payment
// without an invoice to delete.
TEST_F(StateCommand, DebtorsGiveEachContractsStateAndDeleteNothing) {
  const ZorvitResult readOnly = Run("state 1 --read-only --date 15.02.2024 --format json");
  EXPECT_TRUE(Has(readOnly.out, "\"unlinked_payments_left_out\": 1")) << readOnly.out;
  auto states = ExpectListAsStates(folder_, db_.Path(), "15.02.2024", 2);
  EXPECT_TRUE(Has(states["1"], "\"deleted_payments\": 1")) << states["1"];

  // Contract 1 has paid ahead and owes nothing.
  const ZorvitResult owing = Run("debtors --date 15.02.2024 --min-due 0.01 --format csv");
  EXPECT_EQ(ListRecords(owing.out, "длъжник").size(), 1u) << owing.out;
  EXPECT_EQ(Run("debtors --format xlsx").exitCode, 2);
  EXPECT_EQ(Run("debtors --min-due -1").exitCode, 2);
}

// `--output -` is standard output, for every form; no file named "-".
TEST_F(StateCommand, DebtorsGoToStandardOutputForADash) {
  const ZorvitResult csv = Run("debtors --date 15.02.2024 --format csv --output -");
  EXPECT_EQ(csv.exitCode, 0) << csv.err;
  EXPECT_EQ(ListRecords(csv.out, "длъжник").size(), 2u) << csv.out;
  const ZorvitResult xlsx = Run("debtors --date 15.02.2024 --format xlsx --output -");
  EXPECT_EQ(xlsx.exitCode, 0) << xlsx.err;
  EXPECT_EQ(xlsx.out.substr(0, 2), "PK");
  EXPECT_FALSE(std::filesystem::exists("-"));  // in the folder it runs in
}

}  // namespace
}  // namespace zrv::test
