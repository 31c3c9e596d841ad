// Calendar-month schedules: built from stored annexes by a rebuild, checked as stored.

#include "schedule/DocCreateInfo.h"
#include "schedule/RebuildSchedule.h"
#include "schedule/RoundMoney.h"
#include "tests/schedule/ScheduleFixture.h"

namespace zrv::test {
namespace {

using schedule::RebuildSchedule;
using schedule::TDocCreateInfo;

void ExpectRent(const StoredRent& row, int year, int month, int days, double price, TDate start) {
  EXPECT_EQ(row.year, year);
  EXPECT_EQ(row.month, month);
  EXPECT_EQ(row.days, days);
  EXPECT_DOUBLE_EQ(row.price, price);
  EXPECT_EQ(FormatDMY(row.start), FormatDMY(start));
  EXPECT_DOUBLE_EQ(row.carried, 0);
}

TEST_F(ScheduleTest, PartialFirstAndLastMonthsArePricedByDays) {
  const int id = Contract(1002, D(15, 1, 2024), D(10, 3, 2024));
  Annex(id, 1, 310, D(15, 1, 2024), D(10, 3, 2024));
  RebuildSchedule(id, true);

  const std::vector<StoredRent> rows = Rents(id);
  ASSERT_EQ(rows.size(), 3u);
  ExpectRent(rows[0], 2024, 1, 17, 170.00, D(15, 1, 2024));
  ExpectRent(rows[1], 2024, 2, 29, 310.00, D(1, 2, 2024));
  ExpectRent(rows[2], 2024, 3, 10, 100.00, D(1, 3, 2024));
}

TEST_F(ScheduleTest, DaysAfterAnAnnexStopAreChargedAtTheNextAnnexPrice) {
  const int id = Contract(-1002, D(15, 1, 2024), D(10, 3, 2024));
  Annex(id, 1, 310, D(15, 1, 2024), D(31, 1, 2024));
  Annex(id, 2, 400, D(1, 2, 2024), D(10, 3, 2024));
  TDocCreateInfo builder(db.Connection());
  builder.BuildCalendarSchedule(id, 0);

  ASSERT_EQ(builder.Rents().Count(), 3);
  EXPECT_DOUBLE_EQ(builder.Rents().At(0)->RI_PRICE, 170.00);
  EXPECT_DOUBLE_EQ(builder.Rents().At(1)->RI_PRICE, 400.00);
  EXPECT_DOUBLE_EQ(builder.Rents().At(2)->RI_PRICE, 129.03);  // 10/31 × 400
  EXPECT_FALSE(builder.Rents().At(0)->LastAnnex);
  EXPECT_TRUE(builder.Rents().At(1)->LastAnnex);
  EXPECT_TRUE(builder.Rents().At(2)->LastAnnex);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(builder.Rents().At(i)->ListIndex, i);
}

TEST_F(ScheduleTest, AMonthSplitBetweenTwoAnnexesIsRoundedOnce) {
  const int id = Contract(1002, D(1, 4, 2024), D(30, 6, 2024));
  Annex(id, 1, 100, D(1, 4, 2024), D(10, 5, 2024));
  Annex(id, 2, 300, D(11, 5, 2024), D(30, 6, 2024));
  RebuildSchedule(id, true);

  const std::vector<StoredRent> rows = Rents(id);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_DOUBLE_EQ(rows[0].price, 100.00);
  // 10/31 × 100 + 21/31 × 300 = 235.4838...; rounding each part first would give 235.49.
  EXPECT_DOUBLE_EQ(rows[1].price, 235.48);
  EXPECT_DOUBLE_EQ(rows[2].price, 300.00);
}

TEST_F(ScheduleTest, AContractInsideOneMonthHasOneRowFromStartToEnd) {
  const int id = Contract(1002, D(5, 3, 2024), D(20, 3, 2024));
  Annex(id, 1, 310, D(5, 3, 2024), D(20, 3, 2024));
  RebuildSchedule(id, true);

  const std::vector<StoredRent> rows = Rents(id);
  ASSERT_EQ(rows.size(), 1u);
  ExpectRent(rows[0], 2024, 3, 16, 160.00, D(5, 3, 2024));
}

TEST_F(ScheduleTest, PricesRoundHalfToEvenAtCents) {
  EXPECT_DOUBLE_EQ(schedule::RoundMoney(0.125), 0.12);
  EXPECT_DOUBLE_EQ(schedule::RoundMoney(0.375), 0.38);
  // Whole months charge the annex price itself, so the stored price is the rounded one.
  const int first = Contract(1002, D(1, 1, 2024), D(31, 1, 2024));
  Annex(first, 1, 0.125, D(1, 1, 2024), D(31, 1, 2024));
  const int second = Contract(1002, D(1, 1, 2024), D(31, 1, 2024));
  Annex(second, 1, 0.375, D(1, 1, 2024), D(31, 1, 2024));
  RebuildSchedule(first, true);
  RebuildSchedule(second, true);
  EXPECT_DOUBLE_EQ(Rents(first).at(0).price, 0.12);
  EXPECT_DOUBLE_EQ(Rents(second).at(0).price, 0.38);
}

TEST_F(ScheduleTest, UnbuildableContractsAreRefusedAndTheCallersTransactionStaysOpen) {
  struct Case {
    const char* what;
    TDate start, stop;
    bool withAnnex;
  };
  const Case cases[] = {
      {"no annexes", D(1, 1, 2024), D(31, 12, 2024), false},
      {"stop before start", D(15, 3, 2024), D(10, 3, 2024), true},
      {"negative term", D(1, 5, 2024), D(31, 1, 2024), true},
      {"empty start date", 0, D(31, 12, 2024), true},
      {"far future", D(1, 1, 9950), D(31, 1, 9950), true},
      {"term over 100 years", D(1, 1, 2024), D(31, 1, 2125), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int id = Contract(1002, c.start, c.stop);
    if (c.withAnnex) Annex(id, 1, 100, c.start, c.stop);
    StoreRent(id, 2020, 1, 55, 0);

    db.Connection().StartTransaction();
    EXPECT_THROW(RebuildSchedule(id, true), Error);
    EXPECT_TRUE(db.Connection().InTransaction());
    db.Connection().Rollback();
    // The earlier row is still there and nothing was added.
    ASSERT_EQ(Rents(id).size(), 1u);
    EXPECT_DOUBLE_EQ(Rents(id)[0].price, 55);
  }
}

TEST_F(ScheduleTest, AMonthAfterTheLastAnnexStopsIsRefused) {
  // The annexes stop in January while the schedule is asked to run to March.
  const int id = Contract(1002, D(1, 1, 2024), D(31, 1, 2024));
  Annex(id, 1, 100, D(1, 1, 2024), D(31, 1, 2024));
  TDocCreateInfo builder(db.Connection());
  EXPECT_THROW(builder.BuildCalendarSchedule(id, D(31, 3, 2024)), Error);
}

}  // namespace
}  // namespace zrv::test
