// Anniversary schedules: periods from the start day of month, a closing
// remainder period.

#include "schedule/DocCreateInfo.h"
#include "schedule/RebuildSchedule.h"
#include "tests/schedule/ScheduleFixture.h"

namespace zrv::test {
namespace {

using schedule::TDocCreateInfo;

TEST_F(ScheduleTest, AnniversaryPeriodsRunFromTheStartDay) {
  const int id = OneAnnexContract(1400, 300, D(15, 1, 2024), D(14, 4, 2024));
  schedule::RebuildSchedule(db.Connection(), id, true);
  const std::vector<StoredRent> rows = Rents(id);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].start + rows[1].start + rows[2].start, "15.01.202415.02.202415.03.2024");
  EXPECT_EQ(rows[0].days, 31);
  EXPECT_EQ(rows[1].days, 29);
  EXPECT_EQ(rows[2].days, 30);  // the closing period has no added day
  for (const StoredRent& row : rows) EXPECT_EQ(row.price, 300);

  // From the 31st the cursor runs 31.01, 29.02, 29.03, ...; a period goes back
  // to the 31st whenever the cursor's month has one, and the closing one starts
  // on the cursor itself.
  const int late = OneAnnexContract(-1400, 300, D(31, 1, 2024), D(31, 7, 2024));
  TDocCreateInfo builder(db.Connection());
  builder.BuildAnniversarySchedule(late, 0);
  const char* starts[] = {"31.01.2024", "29.02.2024", "31.03.2024",
                          "29.04.2024", "31.05.2024", "29.06.2024"};
  const int days[] = {29, 29, 30, 30, 30, 32};
  ASSERT_EQ(builder.Rents().Count(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(FormatDMY(builder.Rents().At(i)->RI_DTSTART), starts[i]);
    EXPECT_EQ(builder.Rents().At(i)->RI_DAYS, days[i]) << starts[i];
  }
}

TEST_F(ScheduleTest, AnniversaryAdditionalPriceClosesOrIsSpread) {
  // With a monthly price the additional price pays the remainder period.
  const int remainder = OneAnnexContract(1400, 300, D(15, 1, 2024), D(20, 3, 2024), 120);
  TDocCreateInfo builder(db.Connection());
  builder.BuildAnniversarySchedule(remainder, 0);
  ASSERT_EQ(builder.Rents().Count(), 3);
  EXPECT_EQ(builder.Rents().At(1)->RI_PRICE, 300);
  EXPECT_EQ(builder.Rents().At(2)->RI_DAYS, 5);
  EXPECT_EQ(builder.Rents().At(2)->RI_PRICE, 120);

  // Without one, the total is spread by days over the whole term, unrounded.
  const int spread = OneAnnexContract(1400, 0, D(15, 1, 2024), D(14, 4, 2024), 1000);
  builder.BuildAnniversarySchedule(spread, 0);
  ASSERT_EQ(builder.Rents().Count(), 3);
  EXPECT_NEAR(builder.Rents().At(0)->RI_PRICE, 31 * 1000.0 / 91, 1e-9);
  EXPECT_NEAR(builder.Rents().At(2)->RI_PRICE, 1000 - 60 * 1000.0 / 91, 1e-9);

  // An earlier annex without any price charges nothing.
  const int free = Contract(1400, D(1, 1, 2024), D(31, 3, 2024));
  Annex(free, 1, 0, D(1, 1, 2024), D(31, 1, 2024));
  Annex(free, 2, 200, D(1, 2, 2024), D(31, 3, 2024));
  builder.BuildAnniversarySchedule(free, 0);
  ASSERT_EQ(builder.Rents().Count(), 3);
  EXPECT_EQ(builder.Rents().At(0)->RI_PRICE, 0);
  EXPECT_EQ(builder.Rents().At(2)->RI_PRICE, 200);
}

TEST_F(ScheduleTest, AnniversaryPeriodOutsideEveryAnnexIsRefused) {
  const int id = Contract(1400, D(15, 1, 2024), D(14, 4, 2024));
  Annex(id, 1, 300, D(15, 1, 2024), D(14, 2, 2024));
  Annex(id, 2, 350, D(1, 3, 2024), D(14, 4, 2024));  // nothing covers 15.02
  EXPECT_THROW(schedule::RebuildSchedule(db.Connection(), id, true), Error);
  EXPECT_TRUE(Rents(id).empty());
}

}  // namespace
}  // namespace zrv::test
