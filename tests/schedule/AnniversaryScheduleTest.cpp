// Anniversary schedules: periods from the start day of month, a closing remainder period.

#include "schedule/DocCreateInfo.h"
#include "schedule/RebuildSchedule.h"
#include "tests/schedule/ScheduleFixture.h"

namespace zrv::test {
namespace {

using schedule::RebuildSchedule;
using schedule::TDocCreateInfo;

TEST_F(ScheduleTest, AnniversaryPeriodsRunFromTheStartDay) {
  const int id = Contract(1400, D(15, 1, 2024), D(14, 4, 2024));
  Annex(id, 1, 300, D(15, 1, 2024), D(14, 4, 2024));
  RebuildSchedule(id, true);

  const std::vector<StoredRent> rows = Rents(id);
  ASSERT_EQ(rows.size(), 3u);
  const int months[] = {1, 2, 3};
  const int days[] = {31, 29, 30};  // the closing period has no added day
  const TDate starts[] = {D(15, 1, 2024), D(15, 2, 2024), D(15, 3, 2024)};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(rows[i].month, months[i]);
    EXPECT_EQ(rows[i].days, days[i]);
    EXPECT_EQ(FormatDMY(rows[i].start), FormatDMY(starts[i]));
    EXPECT_DOUBLE_EQ(rows[i].price, 300);
  }
}

TEST_F(ScheduleTest, AnniversaryCursorIsNeverMovedBackToTheStartDay) {
  const int id = Contract(-1400, D(31, 1, 2024), D(31, 7, 2024));
  Annex(id, 1, 300, D(31, 1, 2024), D(31, 7, 2024));
  TDocCreateInfo builder(db.Connection());
  builder.BuildAnniversarySchedule(id, 0);

  // The cursor runs 31.01, 29.02, 29.03, 29.04, 29.05, 29.06; a row goes back to the 31st
  // whenever the cursor's month has one, the closing row starts on the cursor itself.
  const TDate starts[] = {D(31, 1, 2024), D(29, 2, 2024), D(31, 3, 2024),
                          D(29, 4, 2024), D(31, 5, 2024), D(29, 6, 2024)};
  const int days[] = {29, 29, 30, 30, 30, 32};
  ASSERT_EQ(builder.Rents().Count(), 6);
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(FormatDMY(builder.Rents().At(i)->RI_DTSTART), FormatDMY(starts[i]));
    EXPECT_EQ(builder.Rents().At(i)->RI_DAYS, days[i]);
    EXPECT_EQ(builder.Rents().At(i)->RI_MONTH, i + 1);
  }
}

TEST_F(ScheduleTest, AnniversaryRemainderPeriodIsChargedTheAdditionalPrice) {
  const int id = Contract(1400, D(15, 1, 2024), D(20, 3, 2024));
  Annex(id, 1, 300, D(15, 1, 2024), D(20, 3, 2024), 120);
  RebuildSchedule(id, true);

  const std::vector<StoredRent> rows = Rents(id);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_DOUBLE_EQ(rows[0].price, 300);
  EXPECT_DOUBLE_EQ(rows[1].price, 300);
  EXPECT_EQ(rows[2].days, 5);
  EXPECT_DOUBLE_EQ(rows[2].price, 120);
}

TEST_F(ScheduleTest, AnniversaryTotalWithoutMonthlyPriceIsSpreadByDays) {
  const int id = Contract(1400, D(15, 1, 2024), D(14, 4, 2024));
  Annex(id, 1, 0, D(15, 1, 2024), D(14, 4, 2024), 1000);
  TDocCreateInfo builder(db.Connection());
  builder.BuildAnniversarySchedule(id, 0);

  ASSERT_EQ(builder.Rents().Count(), 3);
  const double dailyRate = 1000.0 / 91;  // the whole term, both ends counted
  EXPECT_NEAR(builder.Rents().At(0)->RI_PRICE, 31 * dailyRate, 1e-9);
  EXPECT_NEAR(builder.Rents().At(1)->RI_PRICE, 29 * dailyRate, 1e-9);
  // The closing period takes what is left of the total, unrounded.
  double total = 0;
  for (int i = 0; i < 3; ++i) total += builder.Rents().At(i)->RI_PRICE;
  EXPECT_NEAR(total, 1000, 1e-9);
}

TEST_F(ScheduleTest, AnniversaryAnnexWithoutAnyPriceChargesNothing) {
  const int id = Contract(1400, D(1, 1, 2024), D(31, 3, 2024));
  Annex(id, 1, 0, D(1, 1, 2024), D(31, 1, 2024));
  Annex(id, 2, 200, D(1, 2, 2024), D(31, 3, 2024));
  TDocCreateInfo builder(db.Connection());
  builder.BuildAnniversarySchedule(id, 0);

  ASSERT_EQ(builder.Rents().Count(), 3);
  EXPECT_DOUBLE_EQ(builder.Rents().At(0)->RI_PRICE, 0);
  EXPECT_DOUBLE_EQ(builder.Rents().At(1)->RI_PRICE, 200);
  EXPECT_DOUBLE_EQ(builder.Rents().At(2)->RI_PRICE, 200);
}

TEST_F(ScheduleTest, AnniversaryPeriodOutsideEveryAnnexIsRefused) {
  // Nothing covers 15.02 to 29.02: the second period has no annex.
  const int id = Contract(1400, D(15, 1, 2024), D(14, 4, 2024));
  Annex(id, 1, 300, D(15, 1, 2024), D(14, 2, 2024));
  Annex(id, 2, 350, D(1, 3, 2024), D(14, 4, 2024));
  EXPECT_THROW(RebuildSchedule(id, true), Error);
  EXPECT_TRUE(Rents(id).empty());
}

}  // namespace
}  // namespace zrv::test
