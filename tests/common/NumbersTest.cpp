#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "common/Rounding.h"
#include "common/Text.h"

namespace zrv {
namespace {

TEST(TryParseFloat, CommasAreDecimalPointsAndBlanksVanish) {
  struct Case {
    const char* text;
    double value;
  };
  const Case good[] = {{"12.5", 12.5},  {"7,5", 7.5},      {" 7 ", 7.0}, {"1 234,50", 1234.5},
                       {"1e3", 1000.0}, {"-2,25", -2.25},  {"+3", 3.0},  {".5", 0.5},
                       {"5.", 5.0},     {"1,5E-2", 0.015}, {"0", 0.0}};
  for (const Case& c : good) {
    double out = -1;
    EXPECT_TRUE(TryParseFloat(c.text, out)) << c.text;
    EXPECT_DOUBLE_EQ(out, c.value) << c.text;
  }
}

TEST(TryParseFloat, AnythingElseGivesFalseAndZero) {
  for (const char* text : {"", "   ", "1.234,50", "1,2,3", "abc", "12a", "1e", "e3", "-", ".",
                           "1\t2", "0x10", "inf", "nan", "1e999", "--1", "1 e 3x"}) {
    double out = 99;
    EXPECT_FALSE(TryParseFloat(text, out)) << '"' << text << '"';
    EXPECT_EQ(out, 0.0) << '"' << text << '"';
  }
}

// Switches LC_NUMERIC to a locale with a decimal comma, compiling one into a
// temporary folder when the system has none installed; false when neither
// works.
bool UseDecimalCommaLocale() {
  if (setlocale(LC_NUMERIC, "bg_BG.UTF-8") || setlocale(LC_NUMERIC, "de_DE.UTF-8")) return true;
  const std::string folder = "/tmp/zrv-locale-" + std::to_string(getpid());
  const std::string command = "mkdir -p " + folder + " && localedef -i bg_BG -f UTF-8 " + folder +
                              "/bg_BG.UTF-8 >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return false;
  setenv("LOCPATH", folder.c_str(), 1);
  const bool ok = setlocale(LC_NUMERIC, "bg_BG.UTF-8") != nullptr;
  unsetenv("LOCPATH");
  std::filesystem::remove_all(folder);
  return ok;
}

TEST(TryParseFloat, IgnoresTheProcessLocale) {
  if (!UseDecimalCommaLocale()) GTEST_SKIP() << "no locale with a decimal comma available";
  ASSERT_EQ(std::string(localeconv()->decimal_point), ",");
  double out = 0;
  EXPECT_TRUE(TryParseFloat("12.5", out));
  EXPECT_EQ(out, 12.5);
  EXPECT_EQ(AmountText(12.5), "12.50");
  EXPECT_EQ(Format("%.1f", 2.5), "2.5");
  setlocale(LC_NUMERIC, "C");
}

TEST(TryParseInt, SignedDecimal32Bit) {
  int32_t out = -1;
  EXPECT_TRUE(TryParseInt("42", out));
  EXPECT_EQ(out, 42);
  EXPECT_TRUE(TryParseInt("-2147483648", out));
  EXPECT_EQ(out, INT32_MIN);
  EXPECT_TRUE(TryParseInt("+2147483647", out));
  EXPECT_EQ(out, INT32_MAX);
  EXPECT_TRUE(TryParseInt(" 7 ", out));
  EXPECT_EQ(out, 7);
  for (const char* text :
       {"", "2147483648", "-2147483649", "1.0", "1,0", "12a", "+-1", "-", "0x1F", "1 2"}) {
    out = 5;
    EXPECT_FALSE(TryParseInt(text, out)) << '"' << text << '"';
    EXPECT_EQ(out, 0) << '"' << text << '"';
  }
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5), 2.0);
  EXPECT_EQ(RoundHalfEven(3.5), 4.0);
  EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
  EXPECT_EQ(RoundHalfEven(-3.5), -4.0);
  EXPECT_EQ(RoundHalfEven(0.5), 0.0);
  EXPECT_EQ(RoundHalfEven(2.5000001), 3.0);
  EXPECT_EQ(RoundHalfEven(-0.4), 0.0);
  EXPECT_EQ(RoundHalfEven(1.9), 2.0);
}

TEST(AmountText, HalvesAwayFromZeroOnTheDecimalValue) {
  const std::pair<double, const char*> cases[] = {
      {2.675, "2.68"},   {2.665, "2.67"},
      {-0.125, "-0.13"}, {0.994, "0.99"},
      {9.995, "10.00"},  {-99.995, "-100.00"},
      {-0.004, "0.00"},  {7, "7.00"},
      {1e-7, "0.00"},    {1e16, "10000000000000000.00"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(AmountText(value), text);
}

TEST(Format, PrintfIntoAString) {
  EXPECT_EQ(Format("%d-%s-%.2f", 5, "ab", 1.005), "5-ab-1.00");
  EXPECT_EQ(Format("%s", ""), "");
  const std::string longText(5000,
                             'x');  // longer than any first guess of the buffer
  EXPECT_EQ(Format("[%s]", longText.c_str()), "[" + longText + "]");
}

}  // namespace
}  // namespace zrv
