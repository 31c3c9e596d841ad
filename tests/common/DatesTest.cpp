#include <gtest/gtest.h>

#include <cmath>

#include "common/Dates.h"

namespace zrv {
namespace {

TEST(Dates, DayNumbersCountFromThe30thOfDecember1899) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(1900, 3, 1), 61.0);  // 1900 was no leap year
  EXPECT_EQ(EncodeDate(2007, 3, 5), 39146.0);
  EXPECT_EQ(EncodeDate(2000, 2, 29) + 1, EncodeDate(2000, 3, 1));
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
}

TEST(Dates, DecodeIsTheInverseOfEncodeAcrossTheYears) {
  for (int year : {1, 4, 100, 400, 1600, 1899, 1900, 2000, 2007, 2008, 2100, 9999}) {
    for (int month = 1; month <= 12; ++month) {
      for (int day : {1, 28, DaysInMonth(year, month)}) {
        // Before day 0 the time of day is counted away from zero: -1.75
        // is 29.12.1899 18:00.
        const TDate date = EncodeDate(year, month, day);
        int y, m, d;
        DecodeDate(date + (date < 0 ? -0.75 : 0.75), y, m, d);
        ASSERT_EQ(y * 10000 + m * 100 + d, year * 10000 + month * 100 + day);
      }
    }
  }
}

TEST(Dates, InvalidCalendarDatesAreRefused) {
  TDate out = 123;
  EXPECT_FALSE(TryEncodeDate(2007, 2, 29, out));
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29, out));
  EXPECT_TRUE(TryEncodeDate(2000, 2, 29, out));
  EXPECT_FALSE(TryEncodeDate(2007, 13, 1, out));
  EXPECT_FALSE(TryEncodeDate(2007, 4, 31, out));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, out));
  EXPECT_FALSE(TryEncodeDate(10000, 1, 1, out));
}

TEST(Dates, FormatDMYIgnoresTheTimeOfDay) {
  EXPECT_EQ(FormatDMY(0), "30.12.1899");
  EXPECT_EQ(FormatDMY(EncodeDate(2007, 3, 5)), "05.03.2007");
  EXPECT_EQ(FormatDMY(EncodeDate(2007, 3, 5) + 0.999), "05.03.2007");
  EXPECT_EQ(FormatDMY(EncodeDate(987, 11, 25)), "25.11.0987");
  // Values outside the calendar are held to its ends instead of overflowing.
  EXPECT_EQ(FormatDMY(1e300), "31.12.9999");
  EXPECT_EQ(FormatDMY(std::nan("")), "01.01.0001");
  EXPECT_EQ(FormatDMYHMS(-1e300), "01.01.0001 00:00:00");
}

TEST(Dates, FormatDMYHMSShowsTheTime) {
  EXPECT_EQ(FormatDMYHMS(EncodeDate(2007, 3, 5) + 0.5), "05.03.2007 12:00:00");
  EXPECT_EQ(FormatDMYHMS(EncodeDate(2007, 3, 5) + (10 * 3600 + 7 * 60 + 9) / 86400.0),
            "05.03.2007 10:07:09");
  // A moment that rounds up to midnight belongs to the next day.
  EXPECT_EQ(FormatDMYHMS(EncodeDate(2007, 3, 5) + 0.9999999999), "06.03.2007 00:00:00");
}

TEST(Dates, IncMonthCutsTheDayToTheTargetMonth) {
  EXPECT_EQ(IncMonth(EncodeDate(2007, 1, 31), 1), EncodeDate(2007, 2, 28));
  EXPECT_EQ(IncMonth(EncodeDate(2008, 1, 31), 1), EncodeDate(2008, 2, 29));
  EXPECT_EQ(IncMonth(EncodeDate(2007, 11, 15), 3), EncodeDate(2008, 2, 15));
  EXPECT_EQ(IncMonth(EncodeDate(2007, 1, 15), -1), EncodeDate(2006, 12, 15));
  EXPECT_EQ(IncMonth(EncodeDate(2007, 1, 15) + 0.25, 12), EncodeDate(2008, 1, 15) + 0.25);
}

TEST(Dates, DateBetweenIncludesBothEnds) {
  const TDate low = EncodeDate(2007, 1, 1), high = EncodeDate(2007, 12, 31);
  EXPECT_TRUE(DateBetween(low, low, high));
  EXPECT_TRUE(DateBetween(high, low, high));
  EXPECT_FALSE(DateBetween(low - 1, low, high));
  EXPECT_FALSE(DateBetween(high + 0.5, low, high));
  EXPECT_FALSE(DateBetween(low, high, low));  // an empty range holds nothing
}

TEST(Dates, DecodePayDayFollowsTheCodeRanges) {
  struct Case {
    int16_t code, day, shift;
  };
  const Case cases[] = {{0, 30, 1},   {5, 5, 1},     {-3, -3, 1},   {100, 100, 1},
                        {101, 1, 2},  {105, 5, 2},   {200, 100, 2}, {201, 1, 0},
                        {225, 25, 0}, {300, 100, 0}, {301, 1, 3},   {310, 10, 3}};
  for (const Case& c : cases) {
    int16_t day = -99, shift = -99;
    DecodePayDay(c.code, day, shift);
    EXPECT_EQ(day, c.day) << "code " << c.code;
    EXPECT_EQ(shift, c.shift) << "code " << c.code;
  }
}

}  // namespace
}  // namespace zrv
