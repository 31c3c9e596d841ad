// `zorvit state` of a 30-year contract with a payment of every kind, compared
// byte for byte with the statement stored in tests/fixtures: a change in how
// the state is computed must not move a single figure or text.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "common/Dates.h"
#include "common/Text.h"
#include "platform/db/Transaction.h"
#include "tests/cli/DebtorsVersusState.h"
#include "tests/cli/RunZorvit.h"
#include "tests/support/TestDatabase.h"

namespace zrv::test {
namespace {

constexpr int kYears = 30;
constexpr int kFirstYear = 1996;
constexpr int kPeriods = kYears * 12;
constexpr const char* kExpected = "/tests/fixtures/long_contract_state.json";
constexpr const char* kActual = "/long_contract_state.actual.json";

// Six annexes of five years, one interest kind each, every price increase
// with a free period of two months.
struct AnnexTerms {
  int kind;
  double percent, limit;
  int vatCode, payDay;
};
constexpr AnnexTerms kAnnexes[] = {{1, 10, 2, 1201, 10},     {2, 12, 0, 1201, 105},
                                   {3, 0.05, 15, 1200, 215}, {4, 0.04, 20, 1201, 25},
                                   {5, 8, 0, 1201, 0},       {1, 6, 0, 1201, 310}};

std::string Dmy(TDate date) { return "\"" + FormatDMY(date) + "\""; }
TDate PeriodStart(int q) { return EncodeDate(kFirstYear + q / 12, q % 12 + 1, 1); }
double PeriodPrice(int q) { return 100 + 20 * (q / 60) + (q % 13 == 0 ? 7.5 : 0); }

// The contract's rows as statements: contract 1 from 01.01.1996 to
// 31.12.2025, yearly base rates for 1997-2023, 360 periods and 360 payments
// (the initial one, regular, partial, split, late, in advance, refunds,
// reversals, paid interest, carries, one deleted for want of an invoice) and
// invoices waiting for payment, with and without VAT.
std::vector<std::string> LongContract() {
  std::vector<std::string> sql;
  sql.push_back(
      "insert into documents (doc_id, doc_nomtxt, doc_type, doc_datastart, "
      "doc_datastop, doc_initsum, da_valuta, doc_typetext, doc_free, "
      "doc_handrentinfo, da_rf3) values (1, '1/1996', 1002, '01.01.1996', "
      "'31.12.2025', 50, 0, 'Наем', 'F', 'F', 0)");
  for (int y = 1997; y <= 2023; ++y) {
    const double rate = 3 + (y % 5) * 0.75;
    sql.push_back(
        Format("insert into BASERATES (BR_FIRSTDAY, BR_LASTDAY, BR_RATE, BR_DAILY, "
               "BR_ISSUED) values ('01.01.%d', '31.12.%d', %.2f, %.10f, '15.12.%d')",
               y, y, rate, rate / 36000, y - 1));
  }
  for (int a = 0; a < 6; ++a) {
    const AnnexTerms& t = kAnnexes[a];
    const TDate start = PeriodStart(a * 60);
    sql.push_back(Format(
        "insert into Anecs (AN_ID, AN_NUM, AN_PRICE, AN_DTSTART, AN_DTSTOP, "
        "AN_LTYPE, AN_LPERCENT, AN_LMAX, AN_DDS, AN_PAYDAY, AN_FREEDATE) "
        "values (1, %d, %d, %s, %s, %d, %f, %f, %d, %d, %s)",
        a + 1, 100 + 20 * a, Dmy(start).c_str(), Dmy(PeriodStart(a * 60 + 60) - 1).c_str(), t.kind,
        t.percent, t.limit, t.vatCode, t.payDay, Dmy(a == 0 ? start : IncMonth(start, 2)).c_str()));
  }
  for (int q = 0; q < kPeriods; ++q) {
    const TDate start = PeriodStart(q);
    int y = 0, m = 0, d = 0;
    DecodeDate(start, y, m, d);
    sql.push_back(
        Format("insert into RentsInfo (RI_DOCID, RI_YEAR, RI_MONTH, RI_DAYS, "
               "RI_PRICE, RI_DTSTART, RI_CARRIED) values (1, %d, %d, %d, %.2f, %s, "
               "0)",
               y, m, DaysInMonth(y, m), PeriodPrice(q), Dmy(start).c_str()));
    if (q % 24 == 7) {
      const int invoice = q + 1;
      sql.push_back(
          Format("insert into Invoices (IN_ID, IN_INVOICENUM, IN_PAYCLEARSUM, "
                 "IN_PAYDDS, IN_FACTOR, IN_SECONDINVTYPE, IN_WAITPAY) values (%d, "
                 "%d, %.2f, %.2f, %s, '', 1)",
                 invoice, 1000 + invoice, PeriodPrice(q), q % 48 == 7 ? 0.0 : 20.0,
                 q % 72 == 7 ? "1.95583" : "1"));
      sql.push_back(
          Format("insert into WaitPayments (WP_ID, WP_DOCID, WP_YEAR, WP_MONTH, "
                 "WP_INID, WP_GENSUM, WP_GENDDS, WP_FACTOR, WP_DATE, WP_STATE) values "
                 "(%d, 1, %d, %d, %d, %.2f, 0, 1, %s, %d)",
                 invoice, y, m, invoice, PeriodPrice(q), Dmy(start).c_str(), q % 3));
    }
  }
  sql.push_back(
      "insert into Payment (P_ID, P_NUM, P_DATA, P_VAL, P_CARRY, P_FACTOR, "
      "P_PAYTYPE, P_STATUS) values (1, 0, '01.01.1996', 0, 2.25, 1, 2, 1)");
  std::vector<double> values(kPeriods, 0);
  std::vector<TDate> dates(kPeriods, 0);
  for (int n = 1; n < kPeriods; ++n) {
    const int q = n - 1;  // the period the payment is meant for
    int y = 0, m = 0, d = 0;
    DecodeDate(PeriodStart(q), y, m, d);
    TDate date = PeriodStart(q) + 4 + (n * 7) % 20;
    if (n % 9 == 0) date += 60;  // late: after later payments
    int status = 1, master = 0, payType = 2, flag = 0;
    std::vector<std::pair<int, double>> details;  // period, sum
    double value = PeriodPrice(q);
    if (n % 41 == 0) {  // reverses the payment before it
      status = 3;
      master = n - 1;
      value = -values[n - 1];
      date = dates[n - 1] + 3;
      details = {{q - 1, value}};
    } else if (n % 37 == 0) {  // a refund for the period before
      value = -30;
      details = {{q - 1, value}};
    } else if (n % 53 == 0) {  // four periods at once: on into later ones
      value *= 4;
      details = {{q, value}};
    } else if (n % 17 == 0) {  // split over this period and the next
      details = {{q, value / 2}, {q + 1, value / 2}};
    } else if (n % 11 == 5) {  // part of the period only
      value = std::round(value * 60) / 100;
      details = {{q, value}};
    } else {
      details = {{q, value}};
    }
    if (n == 100) payType = 1, flag = 8;  // owned by invoice 8: stays
    if (n == 200) payType = 1, flag = 0;  // owned by none: deleted
    const double interest = n % 29 == 0 ? 80 : n % 4 == 0 ? 1.5 + n % 7 : 0;
    const std::string ldate = interest > 0 ? Dmy(date - 1) : "null";
    values[n] = value;
    dates[n] = date;
    sql.push_back(
        Format("insert into Payment (P_ID, P_NUM, P_DATA, P_VAL, P_LIXVA, P_LDATE, "
               "P_CARRY, P_FACTOR, P_FLAG, P_PAYTYPE, P_MASTERNUM, P_STATUS) values "
               "(1, %d, %s, %.2f, %.2f, %s, %.2f, 1, %d, %d, %d, %d)",
               n, Dmy(date).c_str(), value, interest, ldate.c_str(), n % 10 == 0 ? n * 0.037 : 0.0,
               flag, payType, master, status));
    for (const auto& [period, sum] : details) {
      const int p = std::min(period, kPeriods - 1);
      sql.push_back(
          Format("insert into PayDetails (PD_ID, PD_NUM, PD_YEAR, PD_MONTH, PD_SUM) "
                 "values (1, %d, %d, %d, %.2f)",
                 n, kFirstYear + p / 12, p % 12 + 1, sum));
    }
  }
  return sql;
}

// Stores the long contract, with its annexes, schedule and payments.
void StoreLongContract(TestDatabase& db) {
  db::OwnTransaction tx(db.Connection());
  auto q = db.Connection().NewQuery();
  for (const std::string& statement : LongContract()) {
    q->SetSQL(statement);
    q->Execute();
  }
  tx.Commit();
}

TEST(LongContractState, StatementUnchangedToTheByte) {
  const std::string folder = MakeTempFolder();
  TestDatabase db;
  StoreLongContract(db);
  db.Connection().Close();  // the program opens the file on its own
  const ZorvitResult state =
      RunZorvit(folder, db.Path(), "state 1 --date 20.03.2025 --format json");
  std::filesystem::remove_all(folder);
  ASSERT_EQ(state.exitCode, 0) << state.err;
  const std::string expected = ReadWholeFile(std::string(ZRV_SOURCE_DIR) + kExpected);
  if (state.out != expected) {
    const std::string actual = std::string(ZRV_BINARY_DIR) + kActual;
    WriteWholeFile(actual, state.out);
    FAIL() << "the statement differs from " << kExpected << "; it is in " << actual;
  }
}

// `zorvit debtors` gives the long contract the figures of its statement, and
// leaves its payment without an invoice for the state to delete.
TEST(LongContractState, DebtorsGiveTheStatementsFigures) {
  const std::string folder = MakeTempFolder();
  TestDatabase db;
  StoreLongContract(db);
  db.Connection().Close();
  auto states = ExpectListAsStates(folder, db.Path(), "20.03.2025", 1);
  std::filesystem::remove_all(folder);
  EXPECT_NE(states["1"].find("\"deleted_payments\": 1"), std::string::npos) << states["1"];
}

}  // namespace
}  // namespace zrv::test
