#include <gtest/gtest.h>

#include "import/AreaUnits.h"
#include "import/FileLinks.h"
#include "import/ImportRunLog.h"

namespace zrv::import {
namespace {

TEST(AreaUnitsTest, AreaInSquareMetresByTheFirstUnitThatGivesANumber) {
  EXPECT_DOUBLE_EQ(AreaFromText("120 квм"), 120);
  EXPECT_DOUBLE_EQ(AreaFromText("1,5 дка"), 1500);
  EXPECT_DOUBLE_EQ(AreaFromText("2 хка"), 20000);
  EXPECT_DOUBLE_EQ(AreaFromText("12,5квм"), 12.5);
  EXPECT_DOUBLE_EQ(AreaFromText("3 ДКА"), 0);  // unit words are lower case
  EXPECT_DOUBLE_EQ(AreaFromText("120"), 0);
  EXPECT_DOUBLE_EQ(AreaFromText("площ 120 квм"), 0);
  EXPECT_DOUBLE_EQ(AreaFromText("0 квм 2 дка"),
                   0);  // "0 квм 2" before дка is no number
  EXPECT_DOUBLE_EQ(AreaFromText(""), 0);
  EXPECT_EQ(UnitFactor("дка"), 1000);
  EXPECT_EQ(UnitFactor("хка"), 10000);
  EXPECT_EQ(UnitFactor("квм"), 1);
  EXPECT_EQ(UnitFactor("ХКА"), 1);
}

TEST(AreaUnitsTest, NumberGroupsAreTakenOffTheFront) {
  std::string text = "12345.501.123.1.2";
  std::vector<int32_t> groups;
  for (int i = 0; i < 6; ++i) groups.push_back(NextNumberGroup(text));
  EXPECT_EQ(groups, (std::vector<int32_t>{12345, 501, 123, 1, 2, 0}));
  EXPECT_EQ(text, "");

  text = "7.x. 9";
  EXPECT_EQ(NextNumberGroup(text), 7);
  EXPECT_EQ(NextNumberGroup(text), 0);  // not a number
  EXPECT_EQ(text, "9");
  EXPECT_EQ(NextNumberGroup(text), 9);
}

TEST(AreaUnitsTest, NumeroSignsBecomeBlanks) {
  EXPECT_EQ(CleanDocNumber("№ 125"), "125");
  EXPECT_EQ(CleanDocNumber(" №12/№3 "), "12/ 3");
  EXPECT_EQ(CleanDocNumber("125"), "125");
}

TEST(AreaUnitsTest, FileAndLogNames) {
  EXPECT_EQ(FileLinkName(EncodeDate(2007, 3, 15), "45"), "200745.pdf");
  EXPECT_EQ(LogFileName("/data/book/contracts.xls", 39421.6543287037),
            "log_contracts.xls_39421.6543287037.txt");
  EXPECT_EQ(LogFileName("contracts.xls", 39421.5), "log_contracts.xls_39421.5.txt");
  EXPECT_EQ(LogFileName("a.xls", 39421), "log_a.xls_39421.txt");
}

}  // namespace
}  // namespace zrv::import
