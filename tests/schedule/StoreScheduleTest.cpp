// Storing a rebuilt schedule over a stored one, and what each contract type
// rebuilds.

#include "schedule/RebuildSchedule.h"
#include "schedule/store/DocInfoSettings.h"
#include "tests/schedule/ScheduleFixture.h"
#include "tests/support/CountingConnection.h"

namespace zrv::test {
namespace {

using schedule::RebuildSchedule;

TEST_F(ScheduleTest, WithoutUpdateOnlyPeriodsUnderTheLastAnnexAreRewritten) {
  const int id = Contract(1002, D(1, 1, 2024), D(30, 4, 2024));
  Annex(id, 1, 100, D(1, 1, 2024), D(29, 2, 2024));
  Annex(id, 2, 300, D(1, 3, 2024), D(30, 4, 2024));
  for (int month = 1; month <= 3; ++month) StoreRent(id, 2024, month, month, 5);

  RebuildSchedule(db.Connection(), id, false);
  std::vector<StoredRent> rows = Rents(id);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].price, 1);  // under the earlier annex: kept as stored
  EXPECT_EQ(rows[1].price, 2);
  EXPECT_EQ(rows[1].days, 1);
  EXPECT_EQ(rows[2].price,
            300);  // under the last annex: rewritten, its settled amount kept
  EXPECT_EQ(rows[2].days, 31);
  EXPECT_EQ(rows[2].carried, 5);
  EXPECT_EQ(rows[3].price, 300);  // new
  EXPECT_EQ(rows[3].carried, 0);

  RebuildSchedule(db.Connection(), id, true);
  rows = Rents(id);
  EXPECT_EQ(rows[1].price, 100);
  EXPECT_EQ(rows[1].days, 29);
  EXPECT_EQ(rows[1].carried, 5);
}

TEST_F(ScheduleTest, PeriodsOutsideTheNewScheduleAreDeleted) {
  const int id = OneAnnexContract(1002, 100, D(1, 2, 2024), D(31, 3, 2024));
  const int other = Contract(1002, D(1, 1, 2024), D(31, 12, 2024));
  for (int month = 1; month <= 6; ++month) {
    StoreRent(id, 2024, month, 50);
    StoreRent(other, 2024, month, 50);
  }
  StoreRent(id, 2023, 12, 50);

  RebuildSchedule(db.Connection(), id, true);
  const std::vector<StoredRent> rows = Rents(id);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].month, 2);
  EXPECT_EQ(rows[1].month, 3);
  EXPECT_EQ(Rents(other).size(), 6u);
}

TEST_F(ScheduleTest, ContractTypesWithoutScheduleKeepTheirStoredRows) {
  const int fixed = OneAnnexContract(1004, 100, D(1, 1, 2024), D(31, 3, 2024));
  const int plain = OneAnnexContract(0, 100, D(1, 1, 2024), D(31, 3, 2024));
  StoreRent(fixed, 2023, 1, 10);
  StoreRent(plain, 2023, 1, 10);

  CountingConnection counting(db.Connection());
  counting.queries = 0;
  RebuildSchedule(counting, fixed, true);
  EXPECT_EQ(counting.queries, 1);  // reading the type, nothing more
  RebuildSchedule(counting, plain, true);
  RebuildSchedule(counting, 987654, true);  // no such contract

  EXPECT_EQ(Count("rentsinfo", Format("ri_docid in (%d, %d) and ri_year = 2023", fixed, plain)), 2);
  EXPECT_EQ(Count("rentsinfo", "ri_year <> 2023"), 0);
}

TEST_F(ScheduleTest, SettingsProbeTheAddPriceColumnAndReadSetting14015) {
  int asked = 0;
  schedule::DocInfoSettings settings;
  settings.Init(db.Connection(), [&](int32_t key, int32_t fallback) {
    asked = key;
    return fallback + 3;
  });
  EXPECT_EQ(asked, 14015);
  EXPECT_EQ(settings.setting14015, 5);
  EXPECT_TRUE(settings.hasAddPrice);
  db.Exec("alter table documents drop doc_addprice");
  settings.Init(db.Connection(), nullptr);
  EXPECT_FALSE(settings.hasAddPrice);
  EXPECT_EQ(settings.setting14015, 2);
}

}  // namespace
}  // namespace zrv::test
