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
  if (out != static_cast<double>(static_cast<int64_t>(out))) return "not a whole day";
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

// LibreOffice keeps an ISO-typed date as yyyy-mm-dd in an .ods; a time after a
// date keeps the date only when it is a time of day.
TEST(DateParse, IsoDatesAndTimesThatAreNoTimeOfDay) {
  const std::pair<const char*, const char*> cases[] = {
      {"2024-01-10", "10.01.2024"},
      {"2024-1-5", "05.01.2024"},
      {"2024-01-10 10:20:30", "10.01.2024"},
      {"2024-02-30", "fail"},
      {"24-01-10", "fail"},
      {"2024-01-10x", "fail"},
      {"15.01.2007 23:59:59.5", "15.01.2007"},
      {"15.01.2007 25:00", "fail"},
      {"15.01.2007 10:60", "fail"},
      {"15.01.2007 10:5", "fail"},
      {"15.01.2007 10:00 ч.", "fail"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(Parse(text), expected) << text;
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
  for (const char* text : {"", " ", "29.02.2007", "31.02.2007", "00.03.2007", "05.13.2007",
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
