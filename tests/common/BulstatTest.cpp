#include <gtest/gtest.h>

#include "common/Text.h"

namespace zrv {
namespace {

TEST(Bulstat, NineDigitCodes) {
  EXPECT_TRUE(IsValidBulstat("123456786"));
  EXPECT_TRUE(IsValidBulstat("BG 123 456 786"));
  EXPECT_FALSE(IsValidBulstat("123456789"));  // check digit 6 expected
  EXPECT_TRUE(IsValidBulstat("000000107"));   // 7 * 1 = 7
  EXPECT_FALSE(IsValidBulstat("000000106"));
}

TEST(Bulstat, SecondWeightsWhenTheFirstSumLeavesTen) {
  // 8*4 = 32 leaves 10; the second weights give 10*4 = 40, which leaves 7.
  EXPECT_TRUE(IsValidBulstat("000000047"));
  EXPECT_FALSE(IsValidBulstat("000000040"));
  // 6*2 + 7*8 + 8*1 = 76 leaves 10, and 8*2 + 9*8 + 10*1 = 98 leaves 10 again:
  // check digit 0.
  EXPECT_TRUE(IsValidBulstat("000002810"));
  EXPECT_FALSE(IsValidBulstat("000002811"));
}

TEST(Bulstat, ThirteenDigitCodes) {
  // 123456786 + 1234: Q = (2*6 + 7*1 + 3*2 + 5*3) mod 11 = 40 mod 11 = 7.
  EXPECT_TRUE(IsValidBulstat("1234567861237"));
  EXPECT_TRUE(IsValidBulstat("BG123456786-1237"));
  EXPECT_FALSE(IsValidBulstat("1234567861236"));
  EXPECT_FALSE(IsValidBulstat("1234567891237"));  // first nine digits wrong
  // d9..d12 = 6,0,3,0: 2*6 + 3*3 = 21 leaves 10, so 4*6 + 5*3 = 39 gives 6.
  EXPECT_TRUE(IsValidBulstat("1234567860306"));
  EXPECT_FALSE(IsValidBulstat("1234567860300"));
}

TEST(Bulstat, WrongLengthsFail) {
  for (const char* text :
       {"", "BG", "12345678", "1234567860", "123456786123", "12345678612370", "1234567861237 9"}) {
    EXPECT_FALSE(IsValidBulstat(text)) << text;
  }
}

}  // namespace
}  // namespace zrv
