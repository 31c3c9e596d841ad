#include <gtest/gtest.h>

#include "common/Dates.h"

namespace zrv {
namespace {

std::pair<int, int> Period(int ys, int ms, int ds, int ye, int me, int de) {
  int months = -1, days = -1;
  MonthsAndDays(EncodeDate(ys, ms, ds), EncodeDate(ye, me, de), months, days);
  return {months, days};
}

using P = std::pair<int, int>;

TEST(MonthsAndDays, EndTheDayBeforeAnAnniversaryOrWholeCalendarMonths) {
  EXPECT_EQ(Period(2007, 1, 15, 2008, 1, 14), P(12, 0));
  EXPECT_EQ(Period(2007, 1, 1, 2007, 12, 31), P(12, 0));
  EXPECT_EQ(Period(2007, 1, 1, 2007, 1, 31), P(1, 0));
  EXPECT_EQ(Period(2008, 2, 1, 2008, 2, 29), P(1, 0));
  EXPECT_EQ(Period(2007, 3, 10, 2007, 6, 9), P(3, 0));
}

TEST(MonthsAndDays, EndDayOnOrAfterTheStartDay) {
  EXPECT_EQ(Period(2007, 1, 15, 2007, 3, 20), P(2, 6));
  EXPECT_EQ(Period(2007, 1, 15, 2007, 1, 20), P(0, 6));
  EXPECT_EQ(Period(2007, 1, 15, 2007, 1, 15), P(0, 1));
}

TEST(MonthsAndDays, EndDayBeforeTheStartDay) {
  EXPECT_EQ(Period(2007, 1, 20, 2007, 2, 5), P(0, 17));
  EXPECT_EQ(Period(2007, 1, 20, 2007, 3, 5), P(1, 13));
  // The month before the end month gives the anchor; February and day 31 are
  // cut.
  EXPECT_EQ(Period(2007, 1, 31, 2007, 3, 5), P(1, 5));    // anchor 28.02.2007
  EXPECT_EQ(Period(2008, 1, 31, 2008, 3, 5), P(1, 5));    // anchor 29.02.2008
  EXPECT_EQ(Period(2007, 3, 31, 2007, 5, 5), P(1, 5));    // anchor 30.04.2007
  EXPECT_EQ(Period(2006, 11, 20, 2007, 1, 5), P(1, 16));  // anchor 20.12.2006
}

}  // namespace
}  // namespace zrv
