// Calendar-month schedules, built from stored annexes and checked as stored.

#include "schedule/DocCreateInfo.h"
#include "schedule/RebuildSchedule.h"
#include "tests/schedule/ScheduleFixture.h"

namespace zrv::test {
namespace {

using schedule::RebuildSchedule;

TEST_F(ScheduleTest, CalendarMonthsArePricedByTheDaysEachAnnexCovers) {
  const int single = OneAnnexContract(1002, 310, D(15, 1, 2024), D(10, 3, 2024));
  const int twoAnnexes = Contract(-1002, D(15, 1, 2024), D(10, 3, 2024));
  Annex(twoAnnexes, 1, 310, D(15, 1, 2024), D(31, 1, 2024));
  Annex(twoAnnexes, 2, 400, D(1, 2, 2024), D(10, 3, 2024));
  // May is split 10/21 days: 32.258 + 203.226 = 235.48 (235.49 if each part
  // were rounded).
  const int split = Contract(1002, D(1, 4, 2024), D(30, 6, 2024));
  Annex(split, 1, 100, D(1, 4, 2024), D(10, 5, 2024));
  Annex(split, 2, 300, D(11, 5, 2024), D(30, 6, 2024));
  const int oneMonth = OneAnnexContract(1002, 310, D(5, 3, 2024), D(20, 3, 2024));
  // Whole months at 0.125 and 0.375 round half to even.
  const int evenDown = OneAnnexContract(1002, 0.125, D(1, 1, 2024), D(31, 1, 2024));
  const int evenUp = OneAnnexContract(1002, 0.375, D(1, 1, 2024), D(31, 1, 2024));

  struct Expected {
    int id;
    std::vector<StoredRent> rows;
  };
  const Expected cases[] = {
      {single,
       {{1, 17, 170.00, 0, "15.01.2024"},
        {2, 29, 310.00, 0, "01.02.2024"},
        {3, 10, 100.00, 0, "01.03.2024"}}},
      {twoAnnexes,
       {{1, 17, 170.00, 0, "15.01.2024"},
        {2, 29, 400.00, 0, "01.02.2024"},
        {3, 10, 129.03, 0, "01.03.2024"}}},
      {split,
       {{4, 30, 100.00, 0, "01.04.2024"},
        {5, 31, 235.48, 0, "01.05.2024"},
        {6, 30, 300.00, 0, "01.06.2024"}}},
      {oneMonth, {{3, 16, 160.00, 0, "05.03.2024"}}},
      {evenDown, {{1, 31, 0.12, 0, "01.01.2024"}}},
      {evenUp, {{1, 31, 0.38, 0, "01.01.2024"}}},
  };
  for (const Expected& c : cases) {
    RebuildSchedule(db.Connection(), c.id, true);
    const std::vector<StoredRent> rows = Rents(c.id);
    ASSERT_EQ(rows.size(), c.rows.size()) << c.id;
    for (size_t i = 0; i < rows.size(); ++i) {
      SCOPED_TRACE(c.rows[i].start);
      EXPECT_EQ(rows[i].month, c.rows[i].month);
      EXPECT_EQ(rows[i].days, c.rows[i].days);
      EXPECT_DOUBLE_EQ(rows[i].price, c.rows[i].price);
      EXPECT_EQ(rows[i].start, c.rows[i].start);
      EXPECT_EQ(rows[i].carried, 0);
    }
  }

  // A period is under the last annex when it starts under it.
  schedule::TDocCreateInfo builder(db.Connection());
  builder.BuildCalendarSchedule(twoAnnexes, 0);
  EXPECT_FALSE(builder.Rents().At(0)->LastAnnex);
  EXPECT_TRUE(builder.Rents().At(1)->LastAnnex);
  EXPECT_TRUE(builder.Rents().At(2)->LastAnnex);
  EXPECT_EQ(builder.Rents().At(2)->ListIndex, 2);
}

TEST_F(ScheduleTest, UnbuildableContractsAreRefusedAndTheCallersTransactionStaysOpen) {
  // An annex's own period never runs backwards (the database refuses it), so
  // a term that does is made of two annexes, the later one dated earlier.
  struct Case {
    const char* what;
    TDate start, stop;
    bool withAnnex;
  };
  const Case cases[] = {
      {"no annexes", D(1, 1, 2024), D(31, 12, 2024), false},
      {"negative term", D(1, 5, 2024), D(31, 1, 2024), true},
      {"stop before start", D(15, 3, 2024), D(10, 3, 2024), true},
      {"empty start date", 0, D(31, 12, 2024), true},
      {"far future", D(1, 1, 9950), D(31, 1, 9950), true},
      {"term over 100 years", D(1, 1, 2024), D(31, 1, 2125), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int id = Contract(1002, c.start, c.stop);
    if (c.withAnnex && c.stop >= c.start) Annex(id, 1, 100, c.start, c.stop);
    if (c.withAnnex && c.stop < c.start) {
      Annex(id, 1, 100, c.start, c.start);
      Annex(id, 2, 100, c.stop, c.stop);
    }
    StoreRent(id, 2020, 1, 55);
    db.Connection().StartTransaction();
    EXPECT_THROW(RebuildSchedule(db.Connection(), id, true), Error);
    EXPECT_TRUE(db.Connection().InTransaction());
    db.Connection().Rollback();
    ASSERT_EQ(Rents(id).size(), 1u);
    EXPECT_EQ(Rents(id)[0].price, 55);
  }
  // A month after the last annex stops has no price.
  const int id = OneAnnexContract(1002, 100, D(1, 1, 2024), D(31, 1, 2024));
  schedule::TDocCreateInfo builder(db.Connection());
  EXPECT_THROW(builder.BuildCalendarSchedule(id, D(31, 3, 2024)), Error);
}

}  // namespace
}  // namespace zrv::test
