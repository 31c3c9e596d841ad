// Late-payment interest of each open period and the totals of what is due at a
// date.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/Text.h"
#include "schedule/RoundMoney.h"
#include "state/DocInfo.h"
#include "state/Interest.h"

namespace zrv::state {

namespace {

constexpr const char* kRowTotal = " Общо: %.2f";
constexpr const char* kPaidTo = "към ";
constexpr const char* kNeverPaid = "не са плащани";

constexpr double kCent = 0.01;

// The interest of one segment under an annex's terms, rounded to cents, its
// text appended when one is given.
double SegmentInterest(const BaseRateTable& rates, const schedule::TAnecsRow& annex, double amount,
                       TDate from, TDate to, std::string* text) {
  if (!text) {
    return schedule::RoundMoney(InterestAmount(rates, annex.AN_LType, amount, from, to,
                                               annex.AN_LPercent, annex.AN_LMAX, 0));
  }
  std::string part;
  const double interest = schedule::RoundMoney(ComputeInterest(
      rates, annex.AN_LType, part, amount, from, to, annex.AN_LPercent, annex.AN_LMAX, 0));
  *text += part;
  return interest;
}

// The same on the amount less the price step of a free period; nothing when
// that is below a cent.
double FreeSegmentInterest(const BaseRateTable& rates, const schedule::TAnecsRow& annex,
                           double amount, TDate from, TDate to, std::string* text) {
  if (amount < kCent) return 0;
  return SegmentInterest(rates, annex, amount, from, to, text);
}

}  // namespace

TDate TDocInfo::InterestLimit(TDate interestDate) const {
  TDate x = std::trunc(interestDate);
  if (InterestStop != 0) x = std::min(x, std::trunc(InterestStop));
  return x;
}

void TDocInfo::ComputeRowInterest(TDate interestDate) {
  const TDate x = InterestLimit(interestDate);
  InterestDate = x;
  Summary.InterestTotal = 0;
  Summary.InterestBase = 0;
  // A free period and its price step stay in force from one period to the next.
  TDate freeDate = 0;
  double priceStep = 0;
  for (int i = 0; i < Rents.Count(); ++i)
    ComputeOneRowInterest(*Rents.At(i), x, freeDate, priceStep);
  Summary.InterestTotal += Summary.Carry;
}

void TDocInfo::ComputeOneRowInterest(schedule::TRentRow& row, TDate x, TDate& freeDate,
                                     double& priceStep) {
  row.Interest = 0;
  row.OverdueDays = 0;
  row.InterestText.clear();
  row.PaidToText.clear();
  int overdue = 0;
  std::string text;
  const double rowInterest = RowInterest(row, x, freeDate, priceStep, overdue, &text);
  if (overdue <= 0) return;
  row.OverdueDays = overdue;
  row.Interest = rowInterest;
  row.InterestText = text + Format(kRowTotal, rowInterest);
  if (rowInterest >= kCent) {
    Summary.InterestTotal += rowInterest;
    Summary.InterestBase += row.Remaining;
    row.PaidToText = InterestSettledDate != 0
                         ? std::string(kPaidTo) + FormatDMY(InterestSettledDate - 1)
                         : std::string(kNeverPaid);
  }
}

double TDocInfo::RowInterest(const schedule::TRentRow& row, TDate x, TDate& freeDate,
                             double& priceStep, int& overdueDays, std::string* text) const {
  overdueDays = 0;
  if (row.Remaining < kCent) return 0;
  TDate start = std::max(InterestSettledDate, row.DueDate + 1);
  const int overdue = static_cast<int>(std::trunc(x - start + 1));
  if (overdue <= 0) return 0;
  overdueDays = overdue;

  const double remaining = row.Remaining;
  const int n = Annexes.Count();
  int i = 0;
  for (int k = 0; k < n; ++k) {
    if (Annexes.At(k).AN_DTStart <= start) i = k;
  }
  double rowInterest = 0;
  std::string segment;
  std::string* part = text ? &segment : nullptr;
  for (; i < n && Annexes.At(i).AN_DTStart < x; ++i) {
    const schedule::TAnecsRow& annex = Annexes.At(i);
    // Interest runs on after the last annex's stop; an earlier annex hands over
    // at its stop.
    TDate end = (i == n - 1) ? x : std::min(x, annex.AN_DTStop);
    segment.clear();
    double interest = 0;
    if (annex.AN_DTStart <= start && annex.AN_DTStart < annex.AN_FreeDate &&
        annex.AN_FreeDate > start) {
      // A free period: the annex's price increase bears no interest until its
      // free date.
      freeDate = annex.AN_FreeDate;
      priceStep = i > 0 ? annex.AN_PRICE - Annexes.At(i - 1).AN_PRICE : 0;
      const TDate freeEnd = std::min(end, freeDate);
      interest = FreeSegmentInterest(tables_->baseRates, annex, remaining - priceStep, start,
                                     freeEnd, part);
      interest += SegmentInterest(tables_->baseRates, annex, remaining, freeEnd + 1, end, part);
    } else if (freeDate > start) {
      if (freeDate >= end) {
        interest =
            FreeSegmentInterest(tables_->baseRates, annex, remaining - priceStep, start, end, part);
      } else {
        interest = FreeSegmentInterest(tables_->baseRates, annex, remaining - priceStep, start,
                                       freeDate, part);
        interest += SegmentInterest(tables_->baseRates, annex, remaining, freeDate + 1, end, part);
      }
    } else {
      interest = SegmentInterest(tables_->baseRates, annex, remaining, start, end, part);
    }

    const bool capped = HasCappedDailyPart(annex.AN_LType) && annex.AN_LMAX >= kCent;
    if (!capped) {
      rowInterest += interest;
    } else {
      const double cap = schedule::RoundMoney(annex.AN_LMAX * remaining / 100);
      if (cap <= row.InterestPaid) {
        rowInterest = 0;
      } else if (cap < interest + rowInterest) {
        segment.clear();
        rowInterest = cap;
      } else {
        rowInterest += interest;
      }
    }
    if (text) *text += segment;
    start = end + 1;
  }
  return rowInterest;
}

namespace {

void ClearDueSums(TSummarySet& s) {
  s.PeriodsDue = s.PeriodsPaidAhead = 0;
  s.Due = s.VatDue = s.InterestDue = 0;
  s.DueConverted = s.VatConverted = s.InterestConverted = 0;
  s.Explanation.clear();
  s.FirstFutureAnnex = s.FirstFutureIndex = 0;
}

// The interest texts of the periods due, gathered in schedule order and joined
// newest first once all are known.
using DueTexts = std::vector<const std::string*>;

void JoinExplanation(TSummarySet& s, const DueTexts& texts) {
  size_t size = 0;
  for (const std::string* text : texts) size += text->size() + 2;
  s.Explanation.reserve(size);
  for (auto it = texts.rbegin(); it != texts.rend(); ++it)
    s.Explanation.append(**it).append("\r\n");
}

void AddDue(TSummarySet& s, const schedule::TRentRow& row, double factor, DueTexts& texts) {
  s.Due += row.Remaining;
  s.VatDue += row.VatOfRemaining;
  s.InterestDue += row.Interest;
  s.DueConverted += schedule::RoundMoney(factor * row.Remaining);
  s.VatConverted += schedule::RoundMoney(factor * row.VatOfRemaining);
  s.InterestConverted += schedule::RoundMoney(factor * row.Interest);
  s.PeriodsDue += 1;
  texts.push_back(&row.InterestText);
}

TDate DueLimit(bool inclusive, TDate date) { return std::trunc(date) + (inclusive ? 1 : 0); }

}  // namespace

void TDocInfo::SumDue(bool inclusive, TDate date) {
  ClearDueSums(Summary);
  const TDate limit = DueLimit(inclusive, date);
  const double factor = CurrencyFactor();
  DueTexts texts;
  for (int i = 0; i < Rents.Count(); ++i) {
    const schedule::TRentRow& row = *Rents.At(i);
    if (row.DueDate >= limit) break;
    if (row.Remaining <= 0) continue;
    AddDue(Summary, row, factor, texts);
  }
  JoinExplanation(Summary, texts);
}

void TDocInfo::SumDueAndAdvance(bool inclusive, TDate date) {
  ClearDueSums(Summary);
  const TDate limit = DueLimit(inclusive, date);
  const double factor = CurrencyFactor();
  bool futureSeen = false;
  DueTexts texts;
  for (int i = 0; i < Rents.Count(); ++i) {
    const schedule::TRentRow& row = *Rents.At(i);
    if (row.DueDate >= limit) {
      // Every later period counts here, also one paid in full, which is money
      // paid ahead.
      if (!futureSeen) {
        Summary.FirstFutureAnnex = row.AnnexIndex;
        Summary.FirstFutureIndex = i;
        futureSeen = true;
      }
      if (row.RI_CARRIED > kCent) {
        Summary.Due -= row.RI_CARRIED;
        Summary.PeriodsPaidAhead += 1;
        Summary.DueConverted -= schedule::RoundMoney(factor * row.RI_CARRIED);
      }
      continue;
    }
    if (row.Remaining <= kCent) continue;
    AddDue(Summary, row, factor, texts);
  }
  JoinExplanation(Summary, texts);
}

}  // namespace zrv::state
