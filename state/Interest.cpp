#include "state/Interest.h"

#include <cmath>
#include <vector>

#include "common/Text.h"
#include "schedule/RoundMoney.h"

namespace zrv::state {

namespace {

constexpr const char* kFixedLine = "От %s до %s (%d дена) фиксиран ЛП %.2f%% върху %.2f = %.2f\n";
constexpr const char* kDailyLine = "От %s до %s (%d дена) дневен ЛП %.2f%% върху %.2f  = %.2f\r\n";
constexpr const char* kPenaltyNote = " и нак. лихва %.2f%% ";
constexpr const char* kMultiplierNote = " и множител %.2f";
constexpr const char* kPeriodLine = "От %s до %s ЛП %.2f%% %s върху %.2f за %d дена = %.2f\n";
constexpr const char* kTotalLine = "        Общо за периода от %s до %s %.2f\n";

constexpr int kNone = 0;
constexpr int kBasePlusPenaltyTimesMultiplier = 1;
constexpr int kFixed = 2;
constexpr int kDaily = 3;
constexpr int kDailyPlusBase = 4;

// A part of the span charged at one base-rate period.
struct Segment {
  TDate start;
  TDate end;
  double ratePercent;
  double dailyFactor;
};

// An amount as the explanation shows it: rounded as the charged figure is
// (halves to even), so "%.2f" never shows a cent more or less than is charged.
double Shown(double amount) { return schedule::RoundMoney(amount); }

int DaysOf(TDate from, TDate to) { return static_cast<int>(std::trunc(to - from + 1)); }

Segment SegmentOf(const BaseRatePeriod& p, TDate start, TDate end) {
  return {start, end, p.ratePercent, p.dailyFactor};
}

// Entries w .. z, the first starting at `from`, every one ending at its last
// day except the last, which ends at `to`.
void AddEntrySegments(const BaseRateTable& rates, int w, int z, TDate from, TDate to,
                      std::vector<Segment>& out) {
  for (int i = w; i <= z; ++i) {
    const BaseRatePeriod& p = rates.At(i);
    out.push_back(SegmentOf(p, i == w ? from : p.firstDay, i == z ? to : p.lastDay));
  }
}

// The span cut into base-rate segments over the usable periods 0 .. lastUsable.
// Every day is charged at the rate of the period that holds it; days before the
// first period at the first period's rate, days after the last one at the last
// period's rate (that period's line runs on to the end of the span).
std::vector<Segment> CutIntoSegments(const BaseRateTable& rates, int lastUsable, TDate from,
                                     TDate to) {
  std::vector<Segment> segments;
  if (lastUsable < 0) {
    // No usable base rate: the span bears the penalty percent only.
    segments.push_back({from, to, 0.0, 0.0});
    return segments;
  }
  const BaseRatePeriod& first = rates.At(0);
  const BaseRatePeriod& last = rates.At(lastUsable);
  if (to < first.firstDay) {
    segments.push_back(SegmentOf(first, from, to));
    return segments;
  }
  if (from > last.lastDay) {
    segments.push_back(SegmentOf(last, from, to));
    return segments;
  }
  if (from < first.firstDay) {
    segments.push_back(SegmentOf(first, from, first.firstDay - 1));
    from = first.firstDay;
  }
  // The periods follow one another without gap, so both ends are found inside
  // the table; a span that runs beyond it ends in the last period's line.
  const int w = rates.FindPeriod(from, lastUsable);
  const int z = rates.FindPeriod(to, lastUsable);
  AddEntrySegments(rates, w, z >= 0 ? z : lastUsable, from, to, segments);
  return segments;
}

// Kind 3, its explanation line written to *text when one is given.
double Daily(std::string* text, double amount, TDate from, TDate to, double percent, double limit) {
  const int days = DaysOf(from, to);
  double interest = amount * days * percent / 100;
  if (limit > 0 && interest > limit * amount / 100) interest = limit * amount / 100;
  if (text) {
    *text = Format(kDailyLine, FormatDMY(from).c_str(), FormatDMY(to).c_str(), days, percent,
                   amount, Shown(interest));
  }
  return interest;
}

// The interest of every kind; the explanation goes to *text when one is
// given, and the figure is the same either way.
double Interest(const BaseRateTable& rates, int kind, std::string* text, double amount, TDate from,
                TDate to, double percent, double limit, TDate rateDate) {
  const int lastUsable = rates.SelectRateRange(rateDate);
  if (text) text->clear();
  from = std::trunc(from);
  to = std::trunc(to);
  if (kind == kNone || from > to) return 0;

  if (kind == kFixed) {
    const int days = DaysOf(from, to);
    const double result = days * amount * (percent / 36000);
    if (text) {
      *text = Format(kFixedLine, FormatDMY(from).c_str(), FormatDMY(to).c_str(), days, percent,
                     amount, Shown(result));
    }
    return result;
  }
  if (kind == kDaily) return Daily(text, amount, from, to, percent, limit);

  double penalty = 0;
  std::string note;
  if (percent != 0) {
    penalty = percent / 36000;
    if (text) note = Format(kPenaltyNote, percent);
  }
  const bool multiplied = kind == kBasePlusPenaltyTimesMultiplier && limit >= 0.01;
  if (multiplied && text) note += Format(kMultiplierNote, limit);

  double result = 0;
  if (kind == kDailyPlusBase) result = Daily(text, amount, from, to, percent, limit);

  for (const Segment& s : CutIntoSegments(rates, lastUsable, from, to)) {
    const int days = DaysOf(s.start, s.end);
    const double interest = days * amount * (s.dailyFactor + penalty);
    result += interest;
    if (text) {
      *text +=
          Format(kPeriodLine, FormatDMY(s.start).c_str(), FormatDMY(s.end).c_str(), s.ratePercent,
                 note.c_str(), amount, days, Shown(multiplied ? interest * limit : interest));
    }
  }
  if (multiplied) result *= limit;
  if (text) {
    *text += Format(kTotalLine, FormatDMY(from).c_str(), FormatDMY(to).c_str(), Shown(result));
  }
  return result;
}

}  // namespace

double DailyInterest(std::string& text, double amount, TDate from, TDate to, double percent,
                     double limit) {
  return Daily(&text, amount, from, to, percent, limit);
}

double ComputeInterest(const BaseRateTable& rates, int kind, std::string& text, double amount,
                       TDate from, TDate to, double percent, double limit, TDate rateDate) {
  return Interest(rates, kind, &text, amount, from, to, percent, limit, rateDate);
}

double InterestAmount(const BaseRateTable& rates, int kind, double amount, TDate from, TDate to,
                      double percent, double limit, TDate rateDate) {
  return Interest(rates, kind, nullptr, amount, from, to, percent, limit, rateDate);
}

bool UsesBaseRates(int kind) { return kind != kNone && kind != kFixed && kind != kDaily; }

bool HasCappedDailyPart(int kind) { return kind == kDaily || kind == kDailyPlusBase; }

}  // namespace zrv::state
