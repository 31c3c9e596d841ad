#include <gtest/gtest.h>

#include "common/Dates.h"

namespace zrv {
namespace {

constexpr double kUntouched = -777.0;

// The parsed date as "dd.mm.yyyy", or "fail" (and then the out value must be
// untouched).
std::string Parse(const std::string& text, int currentYear = 2025) {
  TDate out = kUntouched;
  if (!TryParseDate(text, out, currentYear)) {
    return out == kUntouched ? "fail" : "fail but out changed";
  }
  if (out != static_cast<double>(static_cast<int64_t>(out)))
    return "not a whole day";
  return FormatDMY(out);
}

TEST(DateParse, DayFirstWithDots) {
  EXPECT_EQ(Parse("05.03.2007"), "05.03.2007");
  EXPECT_EQ(Parse("5.3.2007"), "05.03.2007");
  EXPECT_EQ(Parse("29.02.2008"), "29.02.2008");
  EXPECT_EQ(Parse("05.03.2007."), "05.03.2007");
  EXPECT_EQ(Parse("05.03.0207"), "05.03.0207");
}

TEST(DateParse, MonthFirstWithSlashes) {
  EXPECT_EQ(Parse("3/5/2007"), "05.03.2007");
  EXPECT_EQ(Parse("2/29/2008"), "29.02.2008");
  EXPECT_EQ(Parse("13/1/2007"), "fail");
}

TEST(DateParse, ATimePartAfterTheFirstBlankIsIgnored) {
  EXPECT_EQ(Parse("12.03.2007 0:00:00"), "12.03.2007");
  EXPECT_EQ(Parse("12.03.2007 anything at all"), "12.03.2007");
  EXPECT_EQ(Parse(" 12.03.2007"), "fail");
  EXPECT_EQ(Parse("12. 03.2007"), "fail");
}

TEST(DateParse, WithoutYearTheCurrentYearIsTaken) {
  EXPECT_EQ(Parse("05.03", 2011), "05.03.2011");
  EXPECT_EQ(Parse("05.03.", 2011), "05.03.2011");
  EXPECT_EQ(Parse("29.02", 2011), "fail");
  EXPECT_EQ(Parse("29.02", 2012), "29.02.2012");
}

TEST(DateParse, ShortYearsFallInTheFiftyYearWindow) {
  for (int current : {1958, 1990, 2025, 2057}) {
    EXPECT_EQ(Parse("05.03.07", current), "05.03.2007") << current;
  }
  EXPECT_EQ(Parse("05.03.07", 1957), "05.03.1907");
  EXPECT_EQ(Parse("05.03.07", 2058), "05.03.2107");
  EXPECT_EQ(Parse("05.03.75", 2025), "05.03.1975");
  EXPECT_EQ(Parse("05.03.74", 2025), "05.03.2074");
  EXPECT_EQ(Parse("05.03.7", 2025), "05.03.2007");
  // The window applies to the number of digits written, not to the value.
  EXPECT_EQ(Parse("05.03.007", 2025), "05.03.0007");
}

TEST(DateParse, MalformedTextFailsAndLeavesTheOutValue) {
  for (const char* text :
       {"", " ", "29.02.2007", "31.02.2007", "00.03.2007", "05.13.2007",
        "05.03.2007x", "05-03-2007", "05.03.2007..", "5", "5.", ".3.2007",
        "05.03.10000", "05.03.0000", "05.03.+7", "a.b.c", "2007.03.05"}) {
    EXPECT_EQ(Parse(text), "fail") << '"' << text << '"';
  }
}

TEST(DateParse, TheOverloadWithoutYearUsesToday) {
  int year, month, day;
  DecodeDate(Today(), year, month, day);
  TDate out = 0;
  ASSERT_TRUE(TryParseDate("01.01", out));
  EXPECT_EQ(out, EncodeDate(year, 1, 1));
}

}  // namespace
}  // namespace zrv
