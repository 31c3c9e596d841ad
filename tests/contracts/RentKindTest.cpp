#include <gtest/gtest.h>

#include "contracts/PHPCalc.h"
#include "contracts/RentKinds.h"
#include "tests/contracts/FakeCalculator.h"

namespace zrv::contracts {
namespace {

TEST(RentKindTest, EachKindGivesItsVatCodeAndFolderOverTheDefaultTerms) {
  const struct {
    const char* text;
    int vat;
    const char* folder;
  } kinds[] = {{"Наем помещение/сграда", 1201, "sgradi"},
               {"Наем терен", 1200, "tereni"},
               {"Наем реклама", 1201, "reklami"},
               {"Наем земеделска земя", 1200, "zemi"},
               {"Наем паркинг", 1201, "parkingi"}};
  RentKinds rentKinds;
  for (const auto& kind : kinds) {
    rentKinds.ApplyRentKind(kind.text);
    const RentKindDefaults& d = rentKinds.Defaults();
    EXPECT_EQ(d.VATCode, kind.vat) << kind.text;
    EXPECT_EQ(rentKinds.RentKindFolder(), kind.folder) << kind.text;
    EXPECT_EQ(d.PayDay, 225);
    EXPECT_EQ(d.InterestType, 1);
    EXPECT_DOUBLE_EQ(d.InterestPercent, 10.0);
    EXPECT_DOUBLE_EQ(d.InterestMax, 0.0);
  }
}

TEST(RentKindTest, UnknownKindResetsTheTermsAndKeepsThePreviousFolder) {
  RentKinds rentKinds;
  rentKinds.ApplyRentKind("наем терен");  // the match is case-sensitive
  EXPECT_EQ(rentKinds.Defaults().VATCode, 1201);
  EXPECT_EQ(rentKinds.RentKindFolder(), "");
  rentKinds.ApplyRentKind("Наем реклама");
  rentKinds.ApplyRentKind("Наем земеделска земя");
  EXPECT_EQ(rentKinds.Defaults().VATCode, 1200);
  EXPECT_EQ(rentKinds.RentKindFolder(), "zemi");
  rentKinds.ApplyRentKind("Наем терен ");
  EXPECT_EQ(rentKinds.Defaults().VATCode, 1201);
  EXPECT_EQ(rentKinds.RentKindFolder(), "zemi");
}

TEST(CalcValueTest, FindsTheVariableIgnoringCaseOrAddsIt) {
  FakeCalculator calculator;
  TPHPCommonTasks calc(&calculator);
  EXPECT_TRUE(calc.SetCalcValue("месеци", "3"));
  EXPECT_TRUE(calc.SetCalcValue("МЕСЕЦИ", "4"));
  EXPECT_FALSE(calc.SetCalcValue("", "1"));
  EXPECT_EQ(calculator.names, std::vector<std::string>{"месеци"});
  EXPECT_EQ(calculator.values, std::vector<std::string>{"4"});
  EXPECT_FALSE(TPHPCommonTasks().SetCalcValue("months", "1"));  // no calculator attached
}

}  // namespace
}  // namespace zrv::contracts
