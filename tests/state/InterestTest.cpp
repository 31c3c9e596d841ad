#include <gtest/gtest.h>

#include <string>

#include "common/Error.h"
#include "state/BaseRatesFile.h"
#include "state/Interest.h"

namespace zrv::state {
namespace {

TDate D(int d, int m, int y) { return EncodeDate(y, m, d); }

// First half of 2024 at 3.80 %, second half at 4.00 %, daily factors on a
// 360-day year.
BaseRateTable TwoHalves() {
  BaseRateTable t;
  t.Add({3.80, 3.80 / 36000, D(1, 1, 2024), D(30, 6, 2024), D(1, 1, 2024)});
  t.Add({4.00, 4.00 / 36000, D(1, 7, 2024), D(31, 12, 2024), D(1, 7, 2024)});
  return t;
}

TEST(Interest, KindZeroAndReversedSpanGiveNothing) {
  const BaseRateTable rates = TwoHalves();
  std::string text = "old";
  EXPECT_EQ(ComputeInterest(rates, 0, text, 1000, D(1, 3, 2024), D(31, 3, 2024), 10, 0, 0), 0);
  EXPECT_EQ(text, "");
  for (int kind : {1, 2, 3, 4, 7}) {
    text = "old";
    EXPECT_EQ(ComputeInterest(rates, kind, text, 1000, D(2, 3, 2024), D(1, 3, 2024), 10, 2, 0), 0)
        << kind;
    EXPECT_EQ(text, "") << kind;
  }
}

TEST(Interest, FixedAnnualPercentOnA360DayYear) {
  std::string text;
  // The time of day of either date does not count.
  const double r = ComputeInterest(BaseRateTable(), 2, text, 1000, D(1, 3, 2024) + 0.75,
                                   D(31, 3, 2024) + 0.2, 10, 0, 0);
  EXPECT_NEAR(r, 31 * 1000 * 10 / 36000.0, 1e-9);
  EXPECT_EQ(text,
            "От 01.03.2024 до 31.03.2024 (31 дена) фиксиран ЛП 10.00% върху "
            "1000.00 = 8.61\n");
}

TEST(Interest, DailyPercentWithItsCap) {
  std::string text;
  const TDate from = D(1, 4, 2024), to = D(30, 4, 2024);  // 30 days
  EXPECT_NEAR(ComputeInterest(BaseRateTable(), 3, text, 1000, from, to, 0.1, 0, 0), 30.0, 1e-9);
  EXPECT_NEAR(ComputeInterest(BaseRateTable(), 3, text, 1000, from, to, 0.1, 2, 0), 20.0, 1e-9);
  EXPECT_EQ(text,
            "От 01.04.2024 до 30.04.2024 (30 дена) дневен ЛП 0.10% върху "
            "1000.00  = 20.00\r\n");
  EXPECT_NEAR(ComputeInterest(BaseRateTable(), 3, text, 1000, from, to, 0.1, 5, 0), 30.0, 1e-9);
  EXPECT_NEAR(DailyInterest(text, 1000, from, to, 0.1, 5), 30.0, 1e-9);
}

TEST(Interest, BaseRateKindAcrossTwoPeriods) {
  const BaseRateTable rates = TwoHalves();
  std::string text;
  const double r = ComputeInterest(rates, 1, text, 1000, D(21, 6, 2024), D(10, 7, 2024), 10, 0, 0);
  const double first = 10 * 1000 * (3.8 + 10) / 36000, second = 10 * 1000 * (4.0 + 10) / 36000;
  EXPECT_NEAR(r, first + second, 1e-9);
  EXPECT_EQ(text,
            "От 21.06.2024 до 30.06.2024 ЛП 3.80%  и нак. лихва 10.00%  върху "
            "1000.00 за 10 дена = 3.83\n"
            "От 01.07.2024 до 10.07.2024 ЛП 4.00%  и нак. лихва 10.00%  върху "
            "1000.00 за 10 дена = 3.89\n"
            "        Общо за периода от 21.06.2024 до 10.07.2024 7.72\n");

  const double doubled =
      ComputeInterest(rates, 1, text, 1000, D(21, 6, 2024), D(10, 7, 2024), 10, 2, 0);
  EXPECT_NEAR(doubled, 2 * (first + second), 1e-9);
  EXPECT_EQ(text,
            "От 21.06.2024 до 30.06.2024 ЛП 3.80%  и нак. лихва 10.00%  и "
            "множител 2.00 върху 1000.00 за 10 дена = 7.67\n"
            "От 01.07.2024 до 10.07.2024 ЛП 4.00%  и нак. лихва 10.00%  и "
            "множител 2.00 върху 1000.00 за 10 дена = 7.78\n"
            "        Общо за периода от 21.06.2024 до 10.07.2024 15.44\n");

  // Other kinds ignore the multiplier; a zero percent leaves the note out.
  const double plain =
      ComputeInterest(rates, 9, text, 1000, D(21, 6, 2024), D(10, 7, 2024), 0, 2, 0);
  EXPECT_NEAR(plain, 10 * 1000 * 3.8 / 36000 + 10 * 1000 * 4.0 / 36000, 1e-9);
  EXPECT_EQ(text.substr(0, text.find('\n')),
            "От 21.06.2024 до 30.06.2024 ЛП 3.80%  върху 1000.00 за 10 дена = 1.06");
}

TEST(Interest, DailyPlusBaseStartsWithTheDailyLine) {
  std::string text;
  const double r =
      ComputeInterest(TwoHalves(), 4, text, 1000, D(1, 2, 2024), D(10, 2, 2024), 0.1, 0, 0);
  EXPECT_NEAR(r, 10.0 + 10 * 1000 * (3.8 + 0.1) / 36000, 1e-9);
  EXPECT_EQ(text,
            "От 01.02.2024 до 10.02.2024 (10 дена) дневен ЛП 0.10% върху "
            "1000.00  = 10.00\r\n"
            "От 01.02.2024 до 10.02.2024 ЛП 3.80%  и нак. лихва 0.10%  върху "
            "1000.00 за 10 дена = 1.08\n"
            "        Общо за периода от 01.02.2024 до 10.02.2024 11.08\n");
}

TEST(Interest, SpansReachingOutsideTheTable) {
  const BaseRateTable rates = TwoHalves();
  std::string text;
  // Starting before the table: the days before it are charged at the first
  // rate.
  double r = ComputeInterest(rates, 1, text, 3600, D(22, 12, 2023), D(10, 1, 2024), 0, 0, 0);
  EXPECT_NEAR(r, 20 * 3600 * 3.8 / 36000, 1e-9);
  EXPECT_EQ(text,
            "От 22.12.2023 до 31.12.2023 ЛП 3.80%  върху 3600.00 за 10 дена = 3.80\n"
            "От 01.01.2024 до 10.01.2024 ЛП 3.80%  върху 3600.00 за 10 дена = 3.80\n"
            "        Общо за периода от 22.12.2023 до 10.01.2024 7.60\n");
  // Running beyond it: the last rate goes on to the end of the span.
  r = ComputeInterest(rates, 1, text, 3600, D(25, 12, 2024), D(5, 1, 2025), 0, 0, 0);
  EXPECT_NEAR(r, 12 * 3600 * 4.0 / 36000, 1e-9);
  EXPECT_EQ(text.substr(0, text.find('\n')),
            "От 25.12.2024 до 05.01.2025 ЛП 4.00%  върху 3600.00 за 12 дена = 4.80");
  // Wholly after it: one segment at the last rate.
  r = ComputeInterest(rates, 1, text, 3600, D(1, 2, 2025), D(10, 2, 2025), 0, 0, 0);
  EXPECT_NEAR(r, 10 * 3600 * 4.0 / 36000, 1e-9);
}

TEST(Interest, WithoutUsableRatesOnlyThePenaltyIsCharged) {
  std::string text;
  const double r =
      ComputeInterest(BaseRateTable(), 1, text, 1000, D(1, 3, 2024), D(10, 3, 2024), 36, 0, 0);
  EXPECT_NEAR(r, 10.0, 1e-9);
  EXPECT_EQ(text,
            "От 01.03.2024 до 10.03.2024 ЛП 0.00%  и нак. лихва 36.00%  върху "
            "1000.00 за 10 дена = 10.00\n"
            "        Общо за периода от 01.03.2024 до 10.03.2024 10.00\n");
}

TEST(Interest, RateDateLimitsTheTableToRatesIssuedByThen) {
  const BaseRateTable rates = TwoHalves();
  EXPECT_EQ(rates.SelectRateRange(0), 1);
  EXPECT_EQ(rates.SelectRateRange(D(15, 3, 2024) + 0.5), 0);
  EXPECT_EQ(rates.SelectRateRange(D(1, 7, 2024)), 1);
  EXPECT_EQ(rates.SelectRateRange(D(31, 12, 2023)), -1);
  EXPECT_EQ(BaseRateTable().SelectRateRange(0), -1);

  // Known on 15.03.2024 was only the first half's rate: a July span is charged
  // at it.
  std::string text;
  const double r =
      ComputeInterest(rates, 1, text, 3600, D(1, 7, 2024), D(10, 7, 2024), 0, 0, D(15, 3, 2024));
  EXPECT_NEAR(r, 10 * 3600 * 3.8 / 36000, 1e-9);
}

TEST(BaseRateTable, RefusesPeriodsThatDoNotFollowOneAnother) {
  BaseRateTable t = TwoHalves();
  EXPECT_THROW(t.Add({5, 0, D(2, 1, 2025), D(31, 1, 2025), 0}),
               Error);  // a gap of one day
  EXPECT_THROW(t.Add({5, 0, D(1, 12, 2024), D(31, 1, 2025), 0}),
               Error);  // overlapping
  EXPECT_THROW(BaseRateTable().Add({5, 0, D(2, 1, 2025), D(1, 1, 2025), 0}), Error);
  EXPECT_EQ(t.Count(), 2);
}

TEST(BaseRatesCsv, ReadsHeaderSeparatorsDefaultsAndOrder) {
  BaseRateTable t;
  std::string error;
  ASSERT_TRUE(
      ParseBaseRatesCsv("first;last;rate;daily;issued\n"
                        "\n# second half\n"
                        "01.07.2024;31.12.2024;4,5;;20.06.2024\n"
                        "01.01.2024;30.06.2024;3.6;0.0002\n",
                        t, error))
      << error;
  ASSERT_EQ(t.Count(), 2);
  EXPECT_EQ(t.At(0).firstDay, D(1, 1, 2024));
  EXPECT_DOUBLE_EQ(t.At(0).dailyFactor, 0.0002);
  EXPECT_EQ(t.At(0).issueDate, D(1, 1, 2024));
  EXPECT_DOUBLE_EQ(t.At(1).ratePercent, 4.5);
  EXPECT_DOUBLE_EQ(t.At(1).dailyFactor, 4.5 / 36000);
  EXPECT_EQ(t.At(1).issueDate, D(20, 6, 2024));

  ASSERT_TRUE(ParseBaseRatesCsv("01.01.2024,30.06.2024,3.6\n", t, error)) << error;
  EXPECT_EQ(t.Count(), 1);
}

TEST(BaseRatesCsv, NamesTheBadLineAndKeepsTheTable) {
  BaseRateTable t = TwoHalves();
  std::string error;
  EXPECT_FALSE(ParseBaseRatesCsv("01.01.2025;31.01.2025;3\n01.02.2025;28.02.2025;x\n", t, error));
  EXPECT_EQ(error, "Ред 2: „x“ не е число.");
  EXPECT_FALSE(ParseBaseRatesCsv("01.01.2025;31.01.2025;3\n03.02.2025;28.02.2025;3\n", t, error));
  EXPECT_NE(error.find("дни без лихвен процент"), std::string::npos) << error;
  EXPECT_FALSE(ParseBaseRatesCsv("01.01.2025;31.01.2025\n", t, error));
  EXPECT_EQ(t.Count(), 2);
}

}  // namespace
}  // namespace zrv::state
