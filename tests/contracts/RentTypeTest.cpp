#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "contracts/RentTypes.h"
#include "tests/support/RecordingMessages.h"
#include "tests/support/TestDatabase.h"

namespace zrv::contracts {
namespace {

class RentTypeTest : public ::testing::Test {
 protected:
  RentTypeTest() {
    db.Exec("DELETE FROM renttypes");
    db.Exec(
        "INSERT INTO renttypes (RT_ID, RT_TEXT, RT_TYPE, RT_SROK, RT_DDS, "
        "RT_VALUTA, "
        "RT_RequireFields, RT_PayDay, RT_LTYPE, RT_LMax, RT_LPercent, "
        "RT_Descr, RT_Za, "
        "RT_Osnovanie, RT_ObjType, RT_TemplType, RT_Smet, RT_NumKind, RT_SGID, "
        "RT_APP) VALUES "
        "(7, 'Наем терен', 3, 12, 1200, 2, 5, 225, 1, 1.5, 10.25, 'описание', "
        "'за', "
        "'чл. 14', 4, 6, 'T', 9, 11, 1)");
    db.Exec(
        "INSERT INTO renttypes (RT_ID, RT_TEXT, RT_RequireFields, RT_Smet, "
        "RT_APP) "
        "VALUES (8, 'Наем реклама', 2, 'F', 1)");
    db.Exec(
        "INSERT INTO renttypes (RT_ID, RT_TEXT, RT_APP) VALUES (9, 'Чужд "
        "наем', 2)");
  }

  test::TestDatabase db;
  test::RecordingMessages messages;
  RentTypeTable table;
};

TEST_F(RentTypeTest, LoadsEveryColumnOfTheApplicationsRentTypes) {
  table.LoadRentTypes(db.Connection(), 1, messages);
  ASSERT_EQ(table.Size(), 2u);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_FALSE(db.Connection().InTransaction());

  const TRentTypeRec& t = table[table.FindRentType("Наем терен")];
  EXPECT_EQ(t.ID, 7);
  EXPECT_EQ(t.Text, "Наем терен");
  EXPECT_EQ(t.RTType, 3);
  EXPECT_EQ(t.Srok, 12);
  EXPECT_EQ(t.DDS, 1200);
  EXPECT_EQ(t.Valuta, 2);
  EXPECT_EQ(t.RequireFields, 5);
  EXPECT_EQ(t.PayDay, 225);
  EXPECT_EQ(t.LType, 1);
  EXPECT_DOUBLE_EQ(t.LMax, 1.5);
  EXPECT_DOUBLE_EQ(t.LPercent, 10.25);
  EXPECT_EQ(t.Descr + "|" + t.Za + "|" + t.Osnovanie, "описание|за|чл. 14");
  EXPECT_EQ(t.ObjType, 4);
  EXPECT_EQ(t.TemplType, 6);
  EXPECT_EQ(t.NumKind, 9);
  EXPECT_TRUE(t.Smet);
  EXPECT_FALSE(t.Marked);
  EXPECT_EQ(std::make_tuple(t.Require0, t.Require1, t.Require2),
            std::make_tuple(true, false, true));

  const TRentTypeRec& r = table[table.FindRentType("Наем реклама")];
  EXPECT_FALSE(r.Smet);
  EXPECT_EQ(std::make_tuple(r.Require0, r.Require1, r.Require2),
            std::make_tuple(false, true, false));
}

TEST_F(RentTypeTest, ApplicationMinusOneLoadsEveryApplicationAndAReloadReplaces) {
  table.LoadRentTypes(db.Connection(), -1, messages);
  EXPECT_EQ(table.Size(), 3u);
  db.Connection().StartTransaction();
  table.LoadRentTypes(db.Connection(), 2, messages);
  EXPECT_TRUE(db.Connection().InTransaction());  // a caller's transaction is left to the caller
  db.Connection().Rollback();
  EXPECT_EQ(table.Size(), 1u);
}

TEST_F(RentTypeTest, FindComparesUpperCasedTexts) {
  table.LoadRentTypes(db.Connection(), 1, messages);
  EXPECT_EQ(table.FindRentType("НАЕМ ТЕРЕН"), table.FindRentType("Наем терен"));
  EXPECT_GE(table.FindRentType("наем РЕКЛАМА"), 0);
  EXPECT_EQ(table.FindRentType("Наем терен "), -1);
  EXPECT_EQ(RentTypeTable().FindRentType("Наем терен"), -1);
}

TEST_F(RentTypeTest, LoadFailureIsShownAndGoesNoFurther) {
  table.LoadRentTypes(db.Connection(), 1, messages);
  db.Exec("ALTER TABLE renttypes DROP RT_SGID");
  EXPECT_NO_THROW(table.LoadRentTypes(db.Connection(), 1, messages));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].rfind("Грешка при зареждане на стойности по подразбиране.\n", 0), 0u)
      << messages.shown[0];
  EXPECT_EQ(table.Size(), 0u);
  EXPECT_FALSE(db.Connection().InTransaction());
}

}  // namespace
}  // namespace zrv::contracts
