#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/Text.h"
#include "state/DocInfo.h"
#include "state/store/StateTablesStore.h"
#include "tests/support/TestDatabase.h"

namespace zrv::state {
namespace {

TDate D(int d, int m, int y) { return EncodeDate(y, m, d); }

constexpr int kDoc = 1;

// A monthly contract for 2024 at 100.00 a month, due on the 10th of each month,
// with 10 % fixed annual interest, stored row by row; payments are added by
// each test.
class DocInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tables_.currencyFactors.Set(0, 1);
    tables_.currencyFactors.Set(1, 1.95583);
    db_.Exec(
        Format("insert into documents (doc_id, doc_type, doc_datastart, doc_datastop, "
               "doc_initsum, da_valuta, doc_typetext, doc_free, doc_handrentinfo, "
               "da_rf3) "
               "values (%d, 1002, \"01.01.2024\", \"31.12.2024\", 0, 0, \"Наем\", "
               "\"F\", "
               "\"F\", 0)",
               kDoc));
    AddAnnex(1, "01.01.2024", "31.12.2024", 100, 2, 10, 0, 1200, "01.01.2024");
    for (int m = 1; m <= 12; ++m) AddRent(m, 100);
  }

  void AddAnnex(int num, const char* start, const char* stop, double price, int kind,
                double percent, double limit, int vatCode, const char* freeDate, int payDay = 10) {
    db_.Exec(
        Format("insert into Anecs (AN_ID, AN_NUM, AN_PRICE, AN_DTSTART, "
               "AN_DTSTOP, AN_LTYPE, "
               "AN_LPERCENT, AN_LMAX, AN_DDS, AN_PAYDAY, AN_FREEDATE) values "
               "(%d, %d, %.2f, "
               "\"%s\", \"%s\", %d, %f, %f, %d, %d, \"%s\")",
               kDoc, num, price, start, stop, kind, percent, limit, vatCode, payDay, freeDate));
  }
  void AddRent(int month, double price) {
    const int days = DaysInMonth(2024, month);
    db_.Exec(
        Format("insert into RentsInfo (RI_DOCID, RI_YEAR, RI_MONTH, RI_DAYS, "
               "RI_PRICE, "
               "RI_DTSTART, RI_CARRIED) values (%d, 2024, %d, %d, %.2f, "
               "\"01.%02d.2024\", 0)",
               kDoc, month, days, price, month));
  }
  // A payment of pay type 2 (never cleaned up) with its details as (month, sum)
  // pairs.
  void Pay(int num, const char* date, double value, std::vector<std::pair<int, double>> details,
           int status = 1, int master = 0, double interest = 0,
           const char* interestDate = nullptr) {
    const std::string ldate = interestDate ? Format("\"%s\"", interestDate) : "null";
    db_.Exec(
        Format("insert into Payment (P_ID, P_NUM, P_DATA, P_VAL, P_LIXVA, P_LDATE, "
               "P_PAYTYPE, "
               "P_STATUS, P_MASTERNUM) values (%d, %d, \"%s\", %.2f, %.2f, %s, 2, %d, "
               "%d)",
               kDoc, num, date, value, interest, ldate.c_str(), status, master));
    for (const auto& [month, sum] : details) {
      db_.Exec(
          Format("insert into PayDetails (PD_ID, PD_NUM, PD_YEAR, PD_MONTH, "
                 "PD_SUM) values "
                 "(%d, %d, 2024, %d, %.2f)",
                 kDoc, num, month, sum));
    }
  }
  std::unique_ptr<TDocInfo> Load(int id = kDoc) {
    auto info = std::make_unique<TDocInfo>(db_.Connection(), tables_);
    info->LoadContract(id);
    return info;
  }
  // The state as the rent-income step computes it: with advance, inclusive, at
  // one date.
  std::unique_ptr<TDocInfo> StateAt(TDate date) {
    auto info = Load();
    info->ComputeState(true, true, date, date);
    return info;
  }
  static const schedule::TRentRow& Month(const TDocInfo& info, int month) {
    return *info.Rents.At(month - 1);
  }

  test::TestDatabase db_;
  StateTables tables_;
};

TEST_F(DocInfoTest, WithoutPaymentsEveryPeriodIsOpenWithInterestWhenOverdue) {
  auto info = StateAt(D(20, 3, 2024));
  ASSERT_EQ(info->Rents.Count(), 12);
  for (int m = 1; m <= 12; ++m) {
    EXPECT_DOUBLE_EQ(Month(*info, m).Remaining, 100) << m;
    EXPECT_EQ(Month(*info, m).DueDate, D(10, m, 2024)) << m;
  }
  const schedule::TRentRow& march = Month(*info, 3);
  EXPECT_EQ(march.OverdueDays, 10);
  EXPECT_DOUBLE_EQ(march.Interest, 0.28);
  EXPECT_EQ(march.PaidToText, "не са плащани");
  EXPECT_EQ(march.InterestText,
            "От 11.03.2024 до 20.03.2024 (10 дена) фиксиран ЛП 10.00% върху "
            "100.00 = 0.28\n Общо: 0.28");
  EXPECT_DOUBLE_EQ(Month(*info, 1).Interest, 1.94);  // 70 days
  EXPECT_DOUBLE_EQ(Month(*info, 2).Interest, 1.08);  // 39 days
  EXPECT_EQ(Month(*info, 4).Interest, 0);
  EXPECT_EQ(Month(*info, 4).InterestText, "");

  const TSummarySet& s = info->Summary;
  EXPECT_EQ(s.PeriodsDue, 3);
  EXPECT_DOUBLE_EQ(s.Due, 300);
  EXPECT_DOUBLE_EQ(s.DueConverted, 300);
  EXPECT_NEAR(s.InterestDue, 3.30, 1e-9);
  EXPECT_NEAR(s.InterestTotal, 3.30, 1e-9);
  EXPECT_DOUBLE_EQ(s.InterestBase, 300);
  EXPECT_EQ(s.PeriodsPaidAhead, 0);
  EXPECT_EQ(s.FirstFutureIndex, 3);
  EXPECT_EQ(s.Explanation.rfind(march.InterestText + "\r\n", 0),
            0u);  // newest first
  EXPECT_EQ(info->FirstOpenPeriod, 202401);
  EXPECT_EQ(info->LastOpenPeriod, 202412);
  EXPECT_EQ(info->History.Count(), 0);
  EXPECT_EQ(info->CurrencyText, " BGN");
  EXPECT_EQ(info->InvoiceKind, 1);
}

TEST_F(DocInfoTest, DueDateItselfCountsOnlyWhenInclusive) {
  auto info = Load();
  info->ComputeState(true, true, D(10, 3, 2024), D(10, 3, 2024));
  EXPECT_EQ(info->Summary.PeriodsDue, 3);
  info->ComputeState(false, true, D(10, 3, 2024), D(10, 3, 2024));
  EXPECT_EQ(info->Summary.PeriodsDue, 2);
  EXPECT_DOUBLE_EQ(info->Summary.Due, 200);
}

TEST_F(DocInfoTest, MissingContractLoadsEmpty) {
  auto info = Load(999);
  info->ComputeState(true, true, D(20, 3, 2024), D(20, 3, 2024));
  EXPECT_EQ(info->Rents.Count(), 0);
  EXPECT_EQ(info->Annexes.Count(), 0);
  EXPECT_EQ(info->Payments.Count(), 0);
  EXPECT_EQ(info->ContractType, 0);
  EXPECT_EQ(info->InvoiceKind, 4);
  EXPECT_EQ(info->Summary.Due, 0);
}

TEST_F(DocInfoTest, PaymentOfExactlyOnePeriod) {
  Pay(1, "05.01.2024", 100, {{1, 100}});
  Pay(2, "25.03.2024", 100, {{2, 100}});  // after the state date
  auto info = StateAt(D(20, 3, 2024));
  EXPECT_EQ(Month(*info, 1).Remaining, 0);
  EXPECT_DOUBLE_EQ(Month(*info, 1).RI_CARRIED, 100);
  EXPECT_EQ(Month(*info, 1).Interest, 0);
  ASSERT_EQ(info->History.Count(), 1);
  const TPayHistoryItem& e = info->History.At(0);
  EXPECT_EQ(e.kind, kHistoryApplied);
  EXPECT_DOUBLE_EQ(e.amount, 100);
  EXPECT_EQ(e.PeriodKey(), 202401);
  EXPECT_EQ(e.paymentNumber, 1);
  EXPECT_FALSE(e.advance);
  EXPECT_EQ(info->Summary.PeriodsDue, 2);
  EXPECT_DOUBLE_EQ(info->Summary.Due, 200);
  EXPECT_EQ(info->FirstOpenPeriod, 202402);

  // A payment made on the state date counts only when the date is inclusive.
  info->ComputeState(true, true, D(25, 3, 2024), D(25, 3, 2024));
  EXPECT_EQ(Month(*info, 2).Remaining, 0);
  info->ComputeState(true, false, D(25, 3, 2024), D(25, 3, 2024));
  EXPECT_DOUBLE_EQ(Month(*info, 2).Remaining, 100);
}

TEST_F(DocInfoTest, MoneyBeyondTheScheduleGoesToTheAdvanceRow) {
  Pay(1, "05.01.2024", 1300, {{1, 1300}});
  auto info = StateAt(D(20, 3, 2024));
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(Month(*info, m).Remaining, 0) << m;
  EXPECT_DOUBLE_EQ(info->Summary.Advance, 100);
  ASSERT_EQ(info->History.Count(), 13);
  EXPECT_TRUE(info->History.At(0).advance);  // sorted to the front
  EXPECT_DOUBLE_EQ(info->History.At(0).amount, 100);
  EXPECT_EQ(info->History.At(1).PeriodKey(), 202401);
  // Nine later periods are paid ahead and offset what is due.
  EXPECT_EQ(info->Summary.PeriodsDue, 0);
  EXPECT_EQ(info->Summary.PeriodsPaidAhead, 9);
  EXPECT_DOUBLE_EQ(info->Summary.Due, -900);
  EXPECT_EQ(info->Summary.FirstFutureIndex, 3);
  EXPECT_EQ(info->FirstOpenPeriod, 202412);
  EXPECT_EQ(info->LastOpenPeriod, 202412);
}

TEST_F(DocInfoTest, DetailNamingAPaidPeriodMovesOnThenBack) {
  Pay(1, "05.01.2024", 100, {{1, 100}});
  Pay(2, "06.01.2024", 150, {{1, 150}});  // January is paid: February, then March
  Pay(3, "07.01.2024", 100, {{12, 100}});
  Pay(4, "08.01.2024", 80, {{12, 80}});  // December is paid and last: the first open one
  auto info = StateAt(D(20, 3, 2024));
  EXPECT_EQ(Month(*info, 2).Remaining, 0);
  EXPECT_EQ(Month(*info, 3).Remaining, 0);
  EXPECT_DOUBLE_EQ(Month(*info, 4).Remaining, 70);
  EXPECT_DOUBLE_EQ(Month(*info, 3).RI_CARRIED, 100);
  std::string second;
  for (int i = 0; i < info->History.Count(); ++i) {
    const TPayHistoryItem& e = info->History.At(i);
    if (e.paymentNumber == 4) second += Format("%d:%.2f ", e.PeriodKey(), e.amount);
  }
  EXPECT_EQ(second, "202403:50.00 202404:30.00 ");
}

TEST_F(DocInfoTest, RefundTakesBackFromTheNamedPeriodThenTheLatestPaid) {
  Pay(1, "05.01.2024", 100, {{1, 100}});
  Pay(2, "05.02.2024", 100, {{2, 100}});
  Pay(3, "06.02.2024", -150, {{2, -150}});
  auto info = StateAt(D(20, 3, 2024));
  EXPECT_DOUBLE_EQ(Month(*info, 2).RI_CARRIED, 0);
  EXPECT_DOUBLE_EQ(Month(*info, 2).Remaining, 100);
  EXPECT_DOUBLE_EQ(Month(*info, 1).RI_CARRIED, 50);
  EXPECT_DOUBLE_EQ(Month(*info, 1).Remaining, 50);
  EXPECT_DOUBLE_EQ(info->Summary.Advance, 0);
}

TEST_F(DocInfoTest, PaymentAfterARefundOfAdvanceSettlesTheOpenPeriod) {
  Pay(1, "05.01.2024", 1200, {{1, 1200}});
  Pay(2, "06.01.2024", 200, {{1, 200}});  // every period paid: 200.00 in advance
  Pay(3, "07.01.2024", -50, {{1, -50}});  // refunded from the advance: 150.00 left
  Pay(4, "08.01.2024", -100, {{1, -100}}, 3,
      1);  // January's 100.00 of payment 1 reversed
  Pay(5, "09.01.2024", 100, {{1, 100}});
  auto info = StateAt(D(20, 3, 2024));
  // The refund leaves the advance row without an open amount of its own, so the
  // payment goes to January and not back into the advance.
  EXPECT_EQ(Month(*info, 1).Remaining, 0);
  EXPECT_DOUBLE_EQ(info->Summary.Advance, 150);
}

TEST_F(DocInfoTest, ContractWithoutAnnexesFallsDueOnStoredDays) {
  db_.Exec("delete from Anecs");
  auto info = StateAt(D(20, 3, 2024));
  EXPECT_EQ(Month(*info, 2).AnnexIndex, -1);
  EXPECT_EQ(Month(*info, 2).DueDate, D(1, 2, 2024));  // RI_PAIDDAYS 0: the 1st
  EXPECT_EQ(Month(*info, 2).Interest, 0);             // no annex, no interest terms
  EXPECT_EQ(info->Summary.PeriodsDue, 3);
  EXPECT_EQ(info->LastAnnexVatRate(), 0);
}

TEST_F(DocInfoTest, ReversalRestoresAmountsAndVat) {
  db_.Exec("update Anecs set AN_DDS = 1201");
  // VAT code 1201 is 20 %
  tables_.vatRates = LoadStateTables(db_.Connection()).vatRates;
  Pay(1, "05.01.2024", 100, {{1, 100}});
  Pay(2, "10.02.2024", -100, {{1, -100}}, 3, 1);

  auto before = StateAt(D(5, 2, 2024));
  EXPECT_EQ(Month(*before, 1).Remaining, 0);
  EXPECT_DOUBLE_EQ(Month(*before, 1).VatOfPaid, 20);
  EXPECT_DOUBLE_EQ(Month(*before, 2).VatOfRemaining, 20);

  auto after = StateAt(D(20, 3, 2024));
  const schedule::TRentRow& jan = Month(*after, 1);
  EXPECT_DOUBLE_EQ(jan.Remaining, 100);
  EXPECT_DOUBLE_EQ(jan.RI_CARRIED, 0);
  EXPECT_NEAR(jan.VatOfPaid, 0, 1e-9);
  EXPECT_DOUBLE_EQ(jan.VatOfRemaining, 20);
  ASSERT_EQ(after->History.Count(), 2);
  const TPayHistoryItem& applied =
      after->History.At(0).paymentNumber == 1 ? after->History.At(0) : after->History.At(1);
  const TPayHistoryItem& undo =
      &applied == &after->History.At(0) ? after->History.At(1) : after->History.At(0);
  EXPECT_EQ(applied.kind, kHistoryUndone);
  EXPECT_EQ(undo.kind, kHistoryReversal);
  EXPECT_EQ(undo.paymentNumber, 2);
  EXPECT_DOUBLE_EQ(undo.amount, -100);
  EXPECT_EQ(undo.PeriodKey(), 202401);
}

TEST_F(DocInfoTest, InvoiceWithoutVatLeavesNoVatOpen) {
  db_.Exec("update Anecs set AN_DDS = 1201");
  tables_.vatRates = LoadStateTables(db_.Connection()).vatRates;
  db_.Exec(
      "insert into Invoices (IN_ID, IN_PAYCLEARSUM, IN_PAYDDS, IN_FACTOR) "
      "values (5, 100, 0, 1)");
  db_.Exec(
      Format("insert into WaitPayments (WP_ID, WP_DOCID, WP_YEAR, WP_MONTH, "
             "WP_INID) values "
             "(1, %d, 2024, 2, 5)",
             kDoc));
  auto info = StateAt(D(20, 3, 2024));
  EXPECT_EQ(Month(*info, 2).VatOfRemaining, 0);
  EXPECT_DOUBLE_EQ(Month(*info, 3).VatOfRemaining, 20);
  EXPECT_DOUBLE_EQ(info->LastAnnexVatRate(), 20);
}

TEST_F(DocInfoTest, InterestStopsAtTheInterestStop) {
  db_.Exec("update documents set doc_lihvastop = \"15.03.2024\"");
  auto info = StateAt(D(20, 3, 2024));
  EXPECT_EQ(info->InterestDate, D(15, 3, 2024));
  EXPECT_EQ(Month(*info, 3).OverdueDays, 5);
  EXPECT_DOUBLE_EQ(Month(*info, 3).Interest, 0.14);
  EXPECT_EQ(info->StateDate, D(20, 3, 2024));
  EXPECT_EQ(info->Summary.PeriodsDue, 3);
}

TEST_F(DocInfoTest, PaidInterestIsSpreadOverThePeriodsThatEarnedIt) {
  // Paid on 15.02 with 1.00 interest covering up to 14.02: January had earned
  // 0.97 and February 0.11 by then.
  Pay(1, "15.02.2024", 100, {{1, 100}}, 1, 0, 1.00, "14.02.2024");
  auto info = StateAt(D(20, 3, 2024));
  EXPECT_EQ(info->InterestSettledDate, D(15, 2, 2024));
  EXPECT_DOUBLE_EQ(Month(*info, 1).InterestPaid, 0.97);
  EXPECT_NEAR(Month(*info, 2).InterestPaid, 0.03, 1e-9);
  // February bears interest from the settled date on: 15.02 to 20.03, 35 days.
  EXPECT_EQ(Month(*info, 2).OverdueDays, 35);
  EXPECT_DOUBLE_EQ(Month(*info, 2).Interest, 0.97);
  EXPECT_EQ(Month(*info, 2).PaidToText, "към 14.02.2024");
  // Computing again starts afresh rather than spreading the interest twice.
  info->ComputeState(true, true, D(20, 3, 2024), D(20, 3, 2024));
  EXPECT_DOUBLE_EQ(Month(*info, 1).InterestPaid, 0.97);
}

TEST_F(DocInfoTest, InitialPaymentAndItsCopy) {
  db_.Exec("update documents set doc_initsum = 50");
  db_.Exec(
      Format("insert into Payment (P_ID, P_NUM, P_DATA, P_VAL, P_PAYTYPE, "
             "P_CARRY, P_FACTOR) "
             "values (%d, 0, \"01.01.2024\", 0, 1, 7, 2)",
             kDoc));
  Pay(1, "05.02.2024", 30, {{2, 30}});
  auto info = StateAt(D(20, 3, 2024));
  EXPECT_DOUBLE_EQ(Month(*info, 1).Remaining, 50);
  EXPECT_DOUBLE_EQ(Month(*info, 2).Remaining, 70);
  EXPECT_TRUE(info->History.At(0).initial);
  EXPECT_EQ(info->Summary.Carry,
            0);  // the later regular payment carries nothing

  auto early = StateAt(D(1, 2, 2024));
  EXPECT_DOUBLE_EQ(early->Summary.Carry, 7);
  EXPECT_DOUBLE_EQ(early->Summary.CarryValue, 14);
  EXPECT_NEAR(early->Summary.InterestTotal, Month(*early, 1).Interest + 7, 1e-9);

  TDocInfo copy(db_.Connection(), tables_);
  copy.CopyFrom(*info);
  EXPECT_TRUE(copy.IsCopy());
  EXPECT_EQ(copy.Details.Count(),
            info->Details.Count());  // the initial detail made once again
  copy.ComputeState(true, true, D(20, 3, 2024), D(20, 3, 2024));
  for (int m = 1; m <= 12; ++m) {
    EXPECT_DOUBLE_EQ(Month(copy, m).Remaining, Month(*info, m).Remaining) << m;
    EXPECT_DOUBLE_EQ(Month(copy, m).Interest, Month(*info, m).Interest) << m;
  }
}

TEST_F(DocInfoTest, LoadingDeletesPaymentsNoInvoiceOwns) {
  db_.Exec(
      Format("insert into Payment (P_ID, P_NUM, P_DATA, P_VAL, P_PAYTYPE) values "
             "(%d, 5, \"05.01.2024\", 100, 1)",
             kDoc));
  db_.Exec(
      Format("insert into PayDetails (PD_ID, PD_NUM, PD_YEAR, PD_MONTH, "
             "PD_SUM) values "
             "(%d, 5, 2024, 1, 100)",
             kDoc));
  auto info = StateAt(D(20, 3, 2024));
  EXPECT_EQ(info->Payments.Count(), 0);
  EXPECT_DOUBLE_EQ(Month(*info, 1).Remaining, 100);
  EXPECT_EQ(db_.ScalarInt("select count(*) from Payment"), 0);
}

TEST_F(DocInfoTest, DailyInterestCappedOverTheWholePeriod) {
  db_.Exec("delete from Anecs");
  AddAnnex(1, "01.01.2024", "29.02.2024", 100, 3, 0.1, 1, 1200, "01.01.2024");
  AddAnnex(2, "01.03.2024", "31.12.2024", 100, 3, 0.1, 1, 1200, "01.03.2024");
  auto info = StateAt(D(20, 3, 2024));
  const schedule::TRentRow& jan = Month(*info, 1);
  EXPECT_DOUBLE_EQ(jan.Interest, 1.00);
  EXPECT_EQ(jan.InterestText,
            "От 11.01.2024 до 29.02.2024 (50 дена) дневен ЛП 0.10% върху "
            "100.00  = 1.00\r\n Общо: 1.00");
  EXPECT_DOUBLE_EQ(Month(*info, 3).Interest, 1.00);
}

TEST_F(DocInfoTest, PaidInterestNeverExceedsAPeriodsCap) {
  // 2 % a day capped at 50 % of the amount: January reaches its cap by the
  // first payment, so the second payment's interest goes to later periods.
  db_.Exec("delete from Anecs");
  AddAnnex(1, "01.01.2024", "31.12.2024", 100, 3, 2, 50, 1200, "01.01.2024");
  Pay(1, "20.02.2024", 0, {}, 1, 0, 50, "19.02.2024");
  Pay(2, "20.03.2024", 0, {}, 1, 0, 60, "19.03.2024");
  auto info = StateAt(D(25, 3, 2024));
  EXPECT_DOUBLE_EQ(Month(*info, 1).InterestPaid, 50);
  EXPECT_DOUBLE_EQ(Month(*info, 2).InterestPaid, 50);
  EXPECT_DOUBLE_EQ(Month(*info, 3).InterestPaid, 10);
}

TEST_F(DocInfoTest, EveryDayOfADelayIsChargedAtTheRateOfItsPeriod) {
  // Rates loaded for February to May only; the state is in June. January's
  // delay starts before the table and ends after it.
  tables_.baseRates.Add({36, 0.001, D(1, 2, 2024), D(30, 4, 2024), D(1, 2, 2024)});
  tables_.baseRates.Add({72, 0.002, D(1, 5, 2024), D(31, 5, 2024), D(1, 5, 2024)});
  db_.Exec("update Anecs set AN_LTYPE = 5, AN_LPERCENT = 0");
  auto info = StateAt(D(10, 6, 2024));
  const schedule::TRentRow& jan = Month(*info, 1);
  EXPECT_DOUBLE_EQ(jan.Interest, 19.30);  // 111 days at 36 %, 41 at 72 %
  EXPECT_EQ(jan.InterestText,
            "От 11.01.2024 до 31.01.2024 ЛП 36.00%  върху 100.00 за 21 дена = "
            "2.10\n"
            "От 01.02.2024 до 30.04.2024 ЛП 36.00%  върху 100.00 за 90 дена = "
            "9.00\n"
            "От 01.05.2024 до 10.06.2024 ЛП 72.00%  върху 100.00 за 41 дена = "
            "8.20\n"
            "        Общо за периода от 11.01.2024 до 10.06.2024 19.30\n"
            " Общо: 19.30");
  EXPECT_DOUBLE_EQ(Month(*info, 2).Interest, 16.20);
  // A delay wholly before the table is charged at its first rate.
  info = StateAt(D(31, 1, 2024));
  EXPECT_DOUBLE_EQ(Month(*info, 1).Interest, 2.10);
}

TEST_F(DocInfoTest, ExplanationShowsTheChargedCent) {
  // 21 days at 3 % on 100.00 is 0.175: charged 0.18, and so shown.
  db_.Exec("update Anecs set AN_LPERCENT = 3");
  auto info = StateAt(D(31, 3, 2024));
  const schedule::TRentRow& march = Month(*info, 3);
  EXPECT_DOUBLE_EQ(march.Interest, 0.18);
  EXPECT_EQ(march.InterestText,
            "От 11.03.2024 до 31.03.2024 (21 дена) фиксиран ЛП 3.00% върху "
            "100.00 = 0.18\n Общо: 0.18");
}

TEST_F(DocInfoTest, PriceIncreaseBearsNoInterestInItsFreePeriod) {
  db_.Exec("delete from Anecs");
  AddAnnex(1, "01.01.2024", "29.02.2024", 100, 2, 10, 0, 1200, "01.01.2024");
  AddAnnex(2, "01.03.2024", "31.12.2024", 150, 2, 10, 0, 1200, "15.03.2024");
  db_.Exec("update RentsInfo set RI_PRICE = 150 where RI_MONTH >= 3");
  auto info = StateAt(D(31, 3, 2024));
  // 100.00 from 11.03 to 15.03 (0.14), then 150.00 from 16.03 to 31.03 (0.67).
  const schedule::TRentRow& march = Month(*info, 3);
  EXPECT_EQ(Month(*info, 2).AnnexIndex, 0);
  EXPECT_EQ(march.AnnexIndex, 1);
  EXPECT_DOUBLE_EQ(march.Interest, 0.81);
  EXPECT_EQ(march.InterestText,
            "От 11.03.2024 до 15.03.2024 (5 дена) фиксиран ЛП 10.00% върху "
            "100.00 = 0.14\n"
            "От 16.03.2024 до 31.03.2024 (16 дена) фиксиран ЛП 10.00% върху "
            "150.00 = 0.67\n"
            " Общо: 0.81");
}

TEST_F(DocInfoTest, DueDatesFollowPayDayStartAndLimit) {
  // Terminated on 15.06.2024: no period falls due later than that.
  db_.Exec(Format("update documents set doc_datastart = \"20.01.2024\", da_rf3 = %d",
                  static_cast<int>(D(15, 6, 2024))));
  db_.Exec("update Anecs set AN_DTSTART = \"20.01.2024\"");
  auto info = Load();
  EXPECT_EQ(info->TerminationDate, D(15, 6, 2024));
  EXPECT_EQ(Month(*info, 1).DueDate, D(20, 1, 2024));  // not before the contract's start
  EXPECT_EQ(Month(*info, 2).DueDate, D(10, 2, 2024));
  EXPECT_EQ(Month(*info, 6).DueDate, D(10, 6, 2024));
  EXPECT_EQ(Month(*info, 7).DueDate, D(15, 6, 2024));
  EXPECT_EQ(Month(*info, 12).AnnexIndex, 0);
  EXPECT_EQ(Month(*info, 3).PeriodEnd, D(31, 3, 2024));
}

TEST_F(DocInfoTest, HandEnteredScheduleFallsDueOnItsStoredDay) {
  db_.Exec("update documents set doc_handrentinfo = \"T\"");
  db_.Exec("update RentsInfo set RI_PAIDDAYS = 31");
  auto info = Load();
  EXPECT_TRUE(info->HandEntered);
  EXPECT_EQ(Month(*info, 1).DueDate, D(31, 1, 2024));
  EXPECT_EQ(Month(*info, 2).DueDate, D(1, 2, 2024));  // no 31 February: the 1st
  EXPECT_EQ(Month(*info, 4).DueDate, D(1, 4, 2024));
}

TEST(PayDayDate, ShiftsTheMonthAndKeepsTheDayInIt) {
  EXPECT_EQ(PayDayDate(2024, 4, 31, 1), EncodeDate(2024, 4, 30));
  EXPECT_EQ(PayDayDate(2024, 1, 30, 2), EncodeDate(2024, 2, 29));
  EXPECT_EQ(PayDayDate(2023, 1, 30, 2), EncodeDate(2023, 2, 28));
  EXPECT_EQ(PayDayDate(2024, 1, 10, 0), EncodeDate(2023, 12, 10));
  EXPECT_EQ(PayDayDate(2024, 11, 5, 3), EncodeDate(2025, 1, 5));
  EXPECT_EQ(PayDayDate(2024, 3, -4, 1), EncodeDate(2024, 3, 1));
}

}  // namespace
}  // namespace zrv::state
