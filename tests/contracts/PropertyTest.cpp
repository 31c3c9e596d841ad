#include <gtest/gtest.h>

#include <string>

#include "contracts/ObjectDB.h"
#include "tests/support/CountingConnection.h"
#include "tests/support/TestDatabase.h"

namespace zrv::contracts {
namespace {

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

class PropertyTest : public ::testing::Test {
 protected:
  std::string Column(const std::string& column, int32_t id) {
    return db.Scalar("select " + column + " from imot where im_id = " + std::to_string(id));
  }
  int Count() { return db.ScalarInt("select count(*) from imot"); }

  test::TestDatabase db;
  TObektDB property{db.Connection()};
};

TEST_F(PropertyTest, ClearSetsTheEmptyValuesAndKeepsTheSettlementText) {
  property.ID = 5;
  property.MasivNo = 3;
  property.StreetID = 2;
  property.Address = "x";
  property.ImZone = 4;
  property.SettlementText = "Русе";
  property.Clear();
  EXPECT_EQ(property.ID, -1);
  EXPECT_EQ(property.MasivNo, 0);
  EXPECT_EQ(property.StreetID, -1);
  EXPECT_EQ(property.Address, "");
  EXPECT_EQ(property.ImZone, -1);
  EXPECT_EQ(property.SettlementText, "Русе");
}

TEST_F(PropertyTest, InsertStoresEveryFieldAndReadsTheNewIdBack) {
  property.SettlementID = 12;
  property.MasivNo = 501;
  property.NparText = "123";
  property.NN = 1;
  property.NI = 2;
  property.RkvText = "кв. 7";
  property.RparText = "п. 3";
  property.NTP = 12;
  property.VTP = 4;
  property.LocalityID = 3;
  property.QuarterID = 6;
  property.StreetID = 9;
  property.ZutType = "жил";
  property.Address = "ул. \"Плиска\" 5, ет. 2";
  property.Area = 1234.567;
  property.ImType = 8;
  property.AddressNo = "5А";
  property.Description = "Магазин";
  property.Borders = "север: улица";
  property.ImZone = 2;
  ASSERT_TRUE(property.Insert());
  const int32_t id = property.ID;
  EXPECT_EQ(id, db.ScalarInt("select max(im_id) from imot"));
  EXPECT_FALSE(db.Connection().InTransaction());

  EXPECT_EQ(Column("im_nm", id), "12");
  EXPECT_EQ(Column("im_nmas", id), "501");
  EXPECT_EQ(Column("im_npar", id), "123");
  EXPECT_EQ(Column("im_nn", id), "1");
  EXPECT_EQ(Column("im_ni", id), "2");
  EXPECT_EQ(Column("im_rkv", id), "кв. 7");
  EXPECT_EQ(Column("im_rpar", id), "п. 3");
  EXPECT_EQ(Column("im_ntp", id), "12");
  EXPECT_EQ(Column("im_vtp", id), "4");
  EXPECT_EQ(Column("im_mestnost", id), "3");
  EXPECT_EQ(Column("im_jk", id), "6");
  EXPECT_EQ(Column("im_nulic", id), "9");
  EXPECT_EQ(Column("im_zuttype", id), "жил");
  EXPECT_EQ(Column("im_address", id), "ул. \"Плиска\" 5, ет. 2");
  EXPECT_DOUBLE_EQ(std::stod(Column("im_area", id)), 1234.57);
  EXPECT_EQ(Column("im_type", id), "8");
  EXPECT_EQ(Column("im_addressnom", id), "5А");
  EXPECT_EQ(Column("im_desc", id), "Магазин");
  EXPECT_EQ(Column("im_borders", id), "север: улица");
  EXPECT_EQ(Column("im_zone", id), "2");
  EXPECT_EQ(Column("im_app", id), "1");

  TObektDB second(db.Connection());
  ASSERT_TRUE(second.Insert());
  EXPECT_GT(second.ID, id);
}

TEST_F(PropertyTest, InsertInsideAnOpenTransactionLeavesItToTheCaller) {
  db.Connection().StartTransaction();
  ASSERT_TRUE(property.Insert());
  EXPECT_TRUE(db.Connection().InTransaction());
  EXPECT_EQ(Count(), 1);
  db.Connection().Rollback();
  EXPECT_EQ(Count(), 0);
}

TEST_F(PropertyTest, FailedInsertLeavesNothingAndTheCallersTransactionOpen) {
  property.Address = std::string(251, 'a');  // one character more than the column holds
  EXPECT_THROW(property.Insert(), Error);
  EXPECT_FALSE(db.Connection().InTransaction());
  EXPECT_EQ(Count(), 0);

  db.Connection().StartTransaction();
  TObektDB good(db.Connection());
  ASSERT_TRUE(good.Insert());
  EXPECT_THROW(property.Insert(), Error);
  EXPECT_TRUE(db.Connection().InTransaction());
  db.Connection().Commit();
  EXPECT_EQ(Count(), 1);
}

TEST_F(PropertyTest, AwkwardTextsAreStoredExactly) {
  const std::string texts[] = {
      "\"", "a\"\"b\"", "'; DELETE FROM imot; --", "ред 1\r\nред 2\n\tред 3",
      "\") , (1", Repeat("я", 250),
  };
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    property.Clear();
    property.Address = text;
    property.Description = text;
    property.NparText = text.substr(0, 40);
    ASSERT_TRUE(property.Insert());
    EXPECT_EQ(Column("im_address", property.ID), text);
    EXPECT_EQ(Column("im_desc", property.ID), text);
  }
  EXPECT_EQ(Count(), 6);
}

TEST_F(PropertyTest, TextsWindows1251CannotHoldAreRefusedBeforeWriting) {
  const std::string texts[] = {"ул. 東京", "\xF0\x9F\x98\x80", std::string("a\0b", 3)};
  for (const std::string& text : texts) {
    property.Clear();
    property.Borders = text;
    try {
      property.Insert();
      ADD_FAILURE() << "accepted";
    } catch (const Error& e) {
      EXPECT_NE(std::string(e.what()).find("im_borders"), std::string::npos) << e.what();
    }
  }
  EXPECT_EQ(Count(), 0);
}

TEST_F(PropertyTest, FindByNpar) {
  test::CountingConnection counting(db.Connection());
  EXPECT_EQ(TObektDB::FindByNpar(counting, "0"), -1);
  EXPECT_EQ(TObektDB::FindByNpar(counting, ""), -1);
  EXPECT_EQ(counting.queries, 0);
  EXPECT_EQ(TObektDB::FindByNpar(counting, "123"), -1);
  EXPECT_EQ(counting.queries, 1);

  property.NparText = "123";
  ASSERT_TRUE(property.Insert());
  const int32_t first = property.ID;
  ASSERT_TRUE(property.Insert());
  EXPECT_EQ(TObektDB::FindByNpar(db.Connection(), "123"), first);
  EXPECT_EQ(TObektDB::FindByNpar(db.Connection(), "1234"), -1);
}

}  // namespace
}  // namespace zrv::contracts
