#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contracts/PHPCalc.h"
#include "contracts/RentKinds.h"
#include "contracts/RentTypes.h"
#include "tests/contracts/FakeCalculator.h"

namespace zrv::contracts {
namespace {

void ExpectDefaultTerms(const RentKindDefaults& d) {
  EXPECT_EQ(d.PayDay, 225);
  EXPECT_EQ(d.InterestType, 1);
  EXPECT_DOUBLE_EQ(d.InterestPercent, 10.0);
  EXPECT_DOUBLE_EQ(d.InterestMax, 0.0);
}

TEST(RentKindTest, EachKindGivesItsVatCodeAndFolder) {
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
    EXPECT_EQ(rentKinds.Defaults().VATCode, kind.vat) << kind.text;
    EXPECT_EQ(rentKinds.RentKindFolder(), kind.folder) << kind.text;
    ExpectDefaultTerms(rentKinds.Defaults());
  }
}

TEST(RentKindTest, MatchIsExactAndCaseSensitive) {
  RentKinds rentKinds;
  for (const char* text : {"наем терен", "Наем терен ", "НАЕМ ТЕРЕН", ""}) {
    rentKinds.ApplyRentKind(text);
    EXPECT_EQ(rentKinds.Defaults().VATCode, 1201) << text;
    EXPECT_EQ(rentKinds.RentKindFolder(), "") << text;
  }
}

TEST(RentKindTest, FolderCarriesOverToRowsOfUnknownKind) {
  RentKinds rentKinds;
  rentKinds.ApplyRentKind("Наем реклама");
  rentKinds.ApplyRentKind("Наем земеделска земя");
  EXPECT_EQ(rentKinds.Defaults().VATCode, 1200);
  EXPECT_EQ(rentKinds.RentKindFolder(), "zemi");
  rentKinds.ApplyRentKind("Наем гараж");
  EXPECT_EQ(rentKinds.Defaults().VATCode, 1201);  // the defaults are reset for every row
  EXPECT_EQ(rentKinds.RentKindFolder(), "zemi");
}

TEST(RentKindTest, BitTestTakesTheBitNumberModulo32) {
  EXPECT_TRUE(IsBitSet(5, 0));
  EXPECT_FALSE(IsBitSet(5, 1));
  EXPECT_TRUE(IsBitSet(5, 2));
  EXPECT_TRUE(IsBitSet(5, 32));  // 32 mod 32 = 0
  EXPECT_TRUE(IsBitSet(INT32_MIN, 31));
  EXPECT_FALSE(IsBitSet(0x7fffffff, 31));
}

TEST(CalcValueTest, FindsIgnoringCaseOrAdds) {
  FakeCalculator calculator;
  TPHPCommonTasks calc(&calculator);
  EXPECT_TRUE(calc.SetCalcValue("Months", "3"));
  EXPECT_TRUE(calc.SetCalcValue("MONTHS", "4"));
  EXPECT_TRUE(calc.SetCalcValue("месеци", "5"));
  EXPECT_TRUE(calc.SetCalcValue("МЕСЕЦИ", "6"));
  EXPECT_EQ(calculator.names, (std::vector<std::string>{"Months", "месеци"}));
  EXPECT_EQ(calculator.values, (std::vector<std::string>{"4", "6"}));
}

TEST(CalcValueTest, EmptyNameOrNoCalculatorSetsNothing) {
  FakeCalculator calculator;
  TPHPCommonTasks calc(&calculator);
  EXPECT_FALSE(calc.SetCalcValue("", "1"));
  EXPECT_TRUE(calculator.names.empty());
  TPHPCommonTasks unattached;
  EXPECT_FALSE(unattached.SetCalcValue("months", "1"));
}

}  // namespace
}  // namespace zrv::contracts
