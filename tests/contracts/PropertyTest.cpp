#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "contracts/ObjectDB.h"
#include "tests/support/CountingConnection.h"
#include "tests/support/TestDatabase.h"

namespace zrv::contracts {
namespace {

class PropertyTest : public ::testing::Test {
 protected:
  std::string Column(const std::string& column, int32_t id) {
    return db.Scalar("select " + column + " from imot where im_id = " + std::to_string(id));
  }
  int Count() { return db.ScalarInt("select count(*) from imot"); }

  test::TestDatabase db;
  TObektDB property{db.Connection()};
};

TEST_F(PropertyTest, InsertStoresEveryFieldAndReadsTheNewIdBack) {
  property.SettlementID = 12, property.MasivNo = 501, property.NparText = "123";
  property.NN = 1, property.NI = 2, property.RkvText = "кв. 7", property.RparText = "п. 3";
  property.NTP = 14, property.VTP = 4, property.LocalityID = 3, property.QuarterID = 6;
  property.StreetID = 9, property.ZutType = "жил", property.Address = "ул. \"Плиска\" 5";
  property.Area = 1234.567, property.ImType = 8, property.AddressNo = "5А";
  property.Description = "Магазин", property.Borders = "север: улица", property.ImZone = 2;
  ASSERT_TRUE(property.Insert());
  const int32_t id = property.ID;
  EXPECT_EQ(id, db.ScalarInt("select max(im_id) from imot"));
  EXPECT_FALSE(db.Connection().InTransaction());
  const std::vector<std::pair<const char*, std::string>> expected = {
      {"im_nm", "12"},        {"im_nmas", "501"},
      {"im_npar", "123"},     {"im_nn", "1"},
      {"im_ni", "2"},         {"im_rkv", "кв. 7"},
      {"im_rpar", "п. 3"},    {"im_ntp", "14"},
      {"im_vtp", "4"},        {"im_mestnost", "3"},
      {"im_jk", "6"},         {"im_nulic", "9"},
      {"im_zuttype", "жил"},  {"im_address", "ул. \"Плиска\" 5"},
      {"im_type", "8"},       {"im_addressnom", "5А"},
      {"im_desc", "Магазин"}, {"im_borders", "север: улица"},
      {"im_zone", "2"},       {"im_app", "1"}};
  for (const auto& [column, value] : expected) EXPECT_EQ(Column(column, id), value) << column;
  EXPECT_DOUBLE_EQ(std::stod(Column("im_area", id)), 1234.57);

  TObektDB cleared(db.Connection());
  ASSERT_TRUE(cleared.Insert());
  EXPECT_GT(cleared.ID, id);
  EXPECT_EQ(Column("im_nulic", cleared.ID), "-1");
}

TEST_F(PropertyTest, TransactionIsTheCallersWhenOneIsOpen) {
  db.Connection().StartTransaction();
  ASSERT_TRUE(property.Insert());
  property.Address = std::string(251, 'a');  // one character more than the column holds
  EXPECT_THROW(property.Insert(), Error);
  EXPECT_TRUE(db.Connection().InTransaction());
  db.Connection().Rollback();
  EXPECT_EQ(Count(), 0);

  EXPECT_THROW(property.Insert(), Error);  // its own transaction, rolled back
  EXPECT_FALSE(db.Connection().InTransaction());
  EXPECT_EQ(Count(), 0);
}

TEST_F(PropertyTest, TextsAreStoredExactlyOrRefusedBeforeWriting) {
  const std::string stored[] = {"\"", "a\"\"b\"", "'; DELETE FROM imot; --",
                                "ред 1\r\nред 2\n\tред 3", "\") , (1"};
  for (const std::string& text : stored) {
    property.Address = property.Description = text;
    ASSERT_TRUE(property.Insert());
    EXPECT_EQ(Column("im_address", property.ID), text);
    EXPECT_EQ(Column("im_desc", property.ID), text);
  }
  const std::string refused[] = {"ул. 東京", "\xF0\x9F\x98\x80", std::string("a\0b", 3)};
  for (const std::string& text : refused) {
    property.Borders = text;
    try {
      property.Insert();
      ADD_FAILURE() << "accepted";
    } catch (const Error& e) {
      EXPECT_NE(std::string(e.what()).find("im_borders"), std::string::npos) << e.what();
    }
  }
  EXPECT_EQ(Count(), 5);
}

TEST_F(PropertyTest, FindByNparMatchesSettlementAndEveryGroup) {
  test::CountingConnection counting(db.Connection());
  TObektDB wanted{db.Connection()};
  wanted.NparText = "0";
  EXPECT_EQ(TObektDB::FindByNpar(counting, wanted), -1);
  wanted.NparText = "";
  EXPECT_EQ(TObektDB::FindByNpar(counting, wanted), -1);
  EXPECT_EQ(counting.queries, 0);

  property.SettlementID = 12, property.MasivNo = 501, property.NparText = "123", property.NN = 1,
  property.NI = 2;
  ASSERT_TRUE(property.Insert());
  const int32_t first = property.ID;
  ASSERT_TRUE(property.Insert());
  wanted.SettlementID = 12, wanted.MasivNo = 501, wanted.NparText = "123", wanted.NN = 1,
  wanted.NI = 2;
  EXPECT_EQ(TObektDB::FindByNpar(counting, wanted), first);
  // One group or the settlement different: another property.
  const std::vector<std::pair<const char*, std::function<void(TObektDB&)>>> differences = {
      {"settlement", [](TObektDB& p) { p.SettlementID = 13; }},
      {"second", [](TObektDB& p) { p.MasivNo = 502; }},
      {"third", [](TObektDB& p) { p.NparText = "1234"; }},
      {"fourth", [](TObektDB& p) { p.NN = 0; }},
      {"fifth", [](TObektDB& p) { p.NI = 3; }}};
  for (const auto& [name, change] : differences) {
    TObektDB other{db.Connection()};
    other.SettlementID = 12, other.MasivNo = 501, other.NparText = "123", other.NN = 1,
    other.NI = 2;
    change(other);
    EXPECT_EQ(TObektDB::FindByNpar(counting, other), -1) << name;
  }
  EXPECT_EQ(counting.queries, 6);
}

}  // namespace
}  // namespace zrv::contracts
