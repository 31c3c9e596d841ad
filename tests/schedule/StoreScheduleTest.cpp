// Storing a rebuilt schedule over an already stored one, and what each contract type rebuilds.

#include "schedule/DocInfoSettings.h"
#include "schedule/RebuildSchedule.h"
#include "tests/schedule/ScheduleFixture.h"
#include "tests/support/CountingConnection.h"

namespace zrv::test {
namespace {

using schedule::RebuildSchedule;

TEST_F(ScheduleTest, WithoutUpdateOnlyPeriodsUnderTheLastAnnexAreRewritten) {
  const int id = Contract(1002, D(1, 1, 2024), D(30, 4, 2024));
  Annex(id, 1, 100, D(1, 1, 2024), D(29, 2, 2024));
  Annex(id, 2, 300, D(1, 3, 2024), D(30, 4, 2024));
  StoreRent(id, 2024, 1, 1, 5);
  StoreRent(id, 2024, 2, 2, 6);
  StoreRent(id, 2024, 3, 3, 7);

  RebuildSchedule(id, false);
  std::vector<StoredRent> rows = Rents(id);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_DOUBLE_EQ(rows[0].price, 1);  // January and February: earlier annex, kept as stored
  EXPECT_DOUBLE_EQ(rows[1].price, 2);
  EXPECT_EQ(rows[1].days, 1);
  EXPECT_DOUBLE_EQ(rows[2].price, 300);  // March: last annex, rewritten
  EXPECT_EQ(rows[2].days, 31);
  EXPECT_DOUBLE_EQ(rows[2].carried, 7);  // the settled amount is never touched
  EXPECT_DOUBLE_EQ(rows[3].price, 300);  // April: new
  EXPECT_DOUBLE_EQ(rows[3].carried, 0);

  RebuildSchedule(id, true);
  rows = Rents(id);
  EXPECT_DOUBLE_EQ(rows[0].price, 100);
  EXPECT_DOUBLE_EQ(rows[1].price, 100);
  EXPECT_EQ(rows[1].days, 29);
  EXPECT_DOUBLE_EQ(rows[0].carried, 5);
}

TEST_F(ScheduleTest, PeriodsOutsideTheNewScheduleAreDeleted) {
  const int id = Contract(1002, D(1, 2, 2024), D(31, 3, 2024));
  Annex(id, 1, 100, D(1, 2, 2024), D(31, 3, 2024));
  const int other = Contract(1002, D(1, 1, 2024), D(31, 12, 2024));
  for (int month = 1; month <= 6; ++month) {
    StoreRent(id, 2024, month, 50, 0);
    StoreRent(other, 2024, month, 50, 0);
  }
  StoreRent(id, 2023, 12, 50, 0);

  RebuildSchedule(id, true);
  const std::vector<StoredRent> rows = Rents(id);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].month, 2);
  EXPECT_EQ(rows[1].month, 3);
  EXPECT_EQ(Rents(other).size(), 6u);
}

TEST_F(ScheduleTest, ContractTypesWithoutScheduleKeepTheirStoredRows) {
  const int fixed = Contract(1004, D(1, 1, 2024), D(31, 3, 2024));
  Annex(fixed, 1, 100, D(1, 1, 2024), D(31, 3, 2024));
  StoreRent(fixed, 2023, 1, 10, 0);
  const int plain = Contract(0, D(1, 1, 2024), D(31, 3, 2024));
  Annex(plain, 1, 100, D(1, 1, 2024), D(31, 3, 2024));
  StoreRent(plain, 2023, 1, 10, 0);

  CountingConnection counting(db.Connection());
  schedule::DocInfoSettings::Init(counting, nullptr);
  counting.queries = 0;
  RebuildSchedule(fixed, true);
  EXPECT_EQ(counting.queries, 1);  // the type read, nothing more
  RebuildSchedule(plain, true);
  RebuildSchedule(987654, true);  // no such contract

  ASSERT_EQ(Rents(fixed).size(), 1u);
  EXPECT_EQ(Rents(fixed)[0].year, 2023);
  ASSERT_EQ(Rents(plain).size(), 1u);
  EXPECT_EQ(Rents(plain)[0].year, 2023);
  EXPECT_FALSE(db.Connection().InTransaction());
}

TEST_F(ScheduleTest, RebuildInsideACallersTransactionLeavesItToTheCaller) {
  const int id = Contract(1002, D(1, 1, 2024), D(31, 3, 2024));
  Annex(id, 1, 100, D(1, 1, 2024), D(31, 3, 2024));
  db.Connection().StartTransaction();
  RebuildSchedule(id, true);
  EXPECT_TRUE(db.Connection().InTransaction());
  EXPECT_EQ(Rents(id).size(), 3u);
  db.Connection().Rollback();
  EXPECT_TRUE(Rents(id).empty());
}

}  // namespace
}  // namespace zrv::test
