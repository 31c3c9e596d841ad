#include <gtest/gtest.h>

#include <string>

#include "common/Text.h"
#include "platform/db/Transaction.h"
#include "state/PayDetails.h"
#include "state/PayHistory.h"
#include "state/Payments.h"
#include "state/WaitPayments.h"
#include "state/store/DogovorFuncs.h"
#include "tests/support/TestDatabase.h"

namespace zrv::state {
namespace {

TDate D(int d, int m, int y) { return EncodeDate(y, m, d); }

std::unique_ptr<db::Query> Open(db::Connection& c, const std::string& sql) {
  auto q = c.NewQuery();
  q->SetSQL(sql);
  q->Open();
  return q;
}

void AddPayment(test::TestDatabase& db, int doc, int num, int payType, int flag,
                const std::string& extraColumns = "", const std::string& extraValues = "") {
  db.Exec(
      Format("insert into Payment (P_ID, P_NUM, P_DATA, P_VAL, P_PAYTYPE, P_FLAG%s) "
             "values (%d, %d, \"05.02.2024\", 10, %d, %d%s)",
             extraColumns.c_str(), doc, num, payType, flag, extraValues.c_str()));
  db.Exec(
      Format("insert into PayDetails (PD_ID, PD_NUM, PD_YEAR, PD_MONTH, PD_SUM) "
             "values (%d, %d, 2024, 2, 10)",
             doc, num));
}

TEST(Payments, ReadingRules) {
  test::TestDatabase db;
  db.Exec(
      "insert into Payment (P_ID, P_NUM, P_DATA, P_VAL, P_LDATE, P_PAYWAY, "
      "P_PAYTYPE, "
      "P_STATUS, P_MASTERNUM) values (7, 0, \"01.01.2024 13:45\", 50, null, "
      "null, 0, 1, 0)");
  db.Exec(
      "insert into Payment (P_ID, P_NUM, P_DATA, P_VAL, P_LDATE, P_PAYWAY, "
      "P_PAYTYPE, "
      "P_STATUS, P_MASTERNUM) values (7, 1, \"12.03.2024\", 120.5, "
      "\"10.03.2024 08:00\", "
      "\"B\", 2, 3, 4)");
  TPayments payments;
  payments.LoadFromQuery(
      *Open(db.Connection(), "select * from Payment where P_ID = 7 order by P_NUM"));
  ASSERT_EQ(payments.Count(), 2);
  const TPaymentRow& initial = payments.At(0);
  EXPECT_EQ(initial.date, D(1, 1, 2024));
  EXPECT_EQ(initial.interestDate, 0);
  EXPECT_EQ(initial.payWay, "C");
  EXPECT_EQ(initial.payType, 1);
  const TPaymentRow& second = payments.At(1);
  EXPECT_EQ(second.interestDate, D(11, 3, 2024));
  EXPECT_EQ(second.payWay, "B");
  EXPECT_EQ(second.payType, 2);
  EXPECT_EQ(second.status, kPaymentReversal);
  EXPECT_EQ(second.masterNumber, 4);
  EXPECT_DOUBLE_EQ(second.amount, 120.5);
  EXPECT_EQ(payments.InitialIndex(), 0);

  payments.LoadFromQuery(
      *Open(db.Connection(), "select * from Payment where P_ID = 7 and P_NUM = 1"));
  EXPECT_EQ(payments.Count(), 1);
  EXPECT_EQ(payments.InitialIndex(),
            0);  // none numbered 0: stays 0 as the list's convention
}

TEST(Payments, DetailsKeepTheirOrderAndInsertAtTheFront) {
  test::TestDatabase db;
  db.Exec(
      "insert into PayDetails (PD_ID, PD_NUM, PD_YEAR, PD_MONTH, PD_SUM) "
      "values (3, 2, 2024, 1, 5)");
  db.Exec(
      "insert into PayDetails (PD_ID, PD_NUM, PD_YEAR, PD_MONTH, PD_SUM) "
      "values (3, 1, 2024, 3, 7.25)");
  TPayDetailList details;
  details.LoadFromQuery(*Open(db.Connection(),
                              "select * from PayDetails where PD_ID = 3 order "
                              "by PD_NUM, PD_YEAR, PD_MONTH"));
  ASSERT_EQ(details.Count(), 2);
  EXPECT_EQ(details.At(0).number, 1);
  EXPECT_EQ(details.At(0).PeriodKey(), 202403);
  EXPECT_DOUBLE_EQ(details.At(0).sum, 7.25);
  TPayDetailRow first;
  first.number = 0;
  details.InsertFront(first);
  EXPECT_EQ(details.At(0).number, 0);
  EXPECT_EQ(details.At(2).number, 2);
}

TEST(Payments, WaitingPaymentsInTheContractCurrency) {
  test::TestDatabase db;
  db.Exec(
      "insert into Invoices (IN_ID, IN_INVOICENUM, IN_PAYCLEARSUM, IN_PAYDDS, "
      "IN_FACTOR, "
      "IN_SECONDINVTYPE, IN_WAITPAY) values (1, 1001, 195.58, 39.12, 1.95583, "
      "null, 1)");
  db.Exec(
      "insert into Invoices (IN_ID, IN_INVOICENUM, IN_PAYCLEARSUM, IN_PAYDDS, "
      "IN_FACTOR, "
      "IN_SECONDINVTYPE, IN_WAITPAY) values (2, 1002, 80.555, 16, 1, \"F\", "
      "0)");
  db.Exec(
      "insert into Invoices (IN_ID, IN_INVOICENUM, IN_PAYCLEARSUM, IN_PAYDDS, "
      "IN_FACTOR) "
      "values (3, 1003, 40, 8, null)");
  for (int i = 1; i <= 3; ++i) {
    db.Exec(
        Format("insert into WaitPayments (WP_ID, WP_DOCID, WP_YEAR, WP_MONTH, "
               "WP_INID, "
               "WP_GENSUM, WP_GENDDS, WP_FACTOR, WP_STATE) values (%d, 9, "
               "2024, %d, %d, 100, "
               "20, 1.5, 0)",
               10 + i, i, i));
  }
  TWaitPayments waits;
  waits.LoadFromQuery(*Open(db.Connection(),
                            "select WaitPayments.*, IN_InvoiceNum, IN_PayClearSum, IN_PayDDS, "
                            "IN_Factor, "
                            "IN_SecondInvType, IN_WaitPay from WaitPayments inner join "
                            "Invoices on (IN_ID = "
                            "WP_INID) where WP_DOCID = 9 order by WP_DOCID, WP_YEAR, WP_MONTH"),
                      "Наем", 4);
  ASSERT_EQ(waits.Count(), 3);
  const TWaitPaymentRow& euro = waits.At(0);
  EXPECT_DOUBLE_EQ(euro.invoiceClearSum, 100.00);
  EXPECT_DOUBLE_EQ(euro.invoiceVat, 20.00);
  EXPECT_EQ(euro.secondInvoiceType, "A");
  EXPECT_DOUBLE_EQ(euro.invoiceNumber, 1001);
  EXPECT_DOUBLE_EQ(euro.generatedSumValue, 150);
  EXPECT_DOUBLE_EQ(euro.generatedVatValue, 30);
  EXPECT_EQ(euro.typeText, "Наем");
  EXPECT_EQ(euro.invoiceKind, 4);
  EXPECT_EQ(euro.PeriodKey(), 202401);
  // A factor of 1 leaves the sums as stored, unrounded; a missing factor does
  // not divide by 0.
  EXPECT_DOUBLE_EQ(waits.At(1).invoiceClearSum, 80.555);
  EXPECT_EQ(waits.At(1).secondInvoiceType, "F");
  EXPECT_DOUBLE_EQ(waits.At(2).invoiceClearSum, 40);
  EXPECT_DOUBLE_EQ(waits.At(2).invoiceVat, 8);
}

TEST(DogovorFuncs, DeletesOnlyUnlinkedPaymentsOfPayTypeOne) {
  test::TestDatabase db;
  db.Exec("insert into Invoices (IN_ID, IN_FACTOR) values (77, 1)");
  AddPayment(db, 5, 0, 1, 0);    // the initial payment always stays
  AddPayment(db, 5, 3, 1, 999);  // names no invoice: goes, with its details
  AddPayment(db, 5, 4, 1, 77);   // belongs to an invoice: stays
  AddPayment(db, 5, 6, 2, 0);    // another pay type: stays
  AddPayment(db, 6, 3, 1, 0);    // another contract: stays
  TDogovorFuncs::DeleteUnlinkedPayments(db.Connection(), 5);
  for (int kept : {0, 4, 6}) {
    EXPECT_EQ(
        db.ScalarInt(Format("select count(*) from Payment where P_ID = 5 and P_NUM = %d", kept)), 1)
        << kept;
  }
  EXPECT_EQ(db.ScalarInt("select count(*) from Payment where P_ID = 5"), 3);
  EXPECT_EQ(db.ScalarInt("select count(*) from PayDetails where PD_ID = 5 and PD_NUM = 3"), 0);
  EXPECT_EQ(db.ScalarInt("select count(*) from PayDetails where PD_ID = 5"), 3);
  EXPECT_EQ(db.ScalarInt("select count(*) from Payment where P_ID = 6"), 1);
  EXPECT_FALSE(db.Connection().InTransaction());
}

TEST(DogovorFuncs, LeavesTheCallersTransactionToTheCaller) {
  test::TestDatabase db;
  AddPayment(db, 5, 3, 1, 0);
  db.Connection().StartTransaction();
  TDogovorFuncs::DeleteUnlinkedPayments(db.Connection(), 5);
  ASSERT_TRUE(db.Connection().InTransaction());
  db.Connection().Rollback();
  EXPECT_EQ(db.ScalarInt("select count(*) from Payment where P_ID = 5"), 1);
  EXPECT_EQ(db.ScalarInt("select count(*) from PayDetails where PD_ID = 5"), 1);
}

TEST(PayHistory, AdvanceFirstThenYearMonthAndPaymentNumber) {
  TPayHistoryList history;
  auto add = [&](int year, int month, int number, bool advance) {
    TPayHistoryItem item;
    item.year = year;
    item.month = month;
    item.paymentNumber = number;
    item.advance = advance;
    history.Add(item);
  };
  add(2024, 2, 60, false);
  add(2024, 1, 150, false);  // a number above 99 must not slide into February
  add(2023, 12, 2, false);
  add(0, 0, 7, true);
  add(2024, 1, 3, false);
  add(0, 0, 2, true);
  history.Sort();
  std::string order;
  for (int i = 0; i < history.Count(); ++i) {
    const TPayHistoryItem& e = history.At(i);
    order += Format("%d/%d#%d ", e.year, e.month, e.paymentNumber);
  }
  EXPECT_EQ(order, "0/0#2 0/0#7 2023/12#2 2024/1#3 2024/1#150 2024/2#60 ");
  TPayHistoryItem advance;
  advance.advance = true;
  advance.paymentNumber = 4;
  EXPECT_EQ(advance.SortKey(), 100004);
}

}  // namespace
}  // namespace zrv::state
