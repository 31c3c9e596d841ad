#include "state/BaseRates.h"

#include <cmath>

#include "common/Error.h"

namespace zrv::state {

namespace {
std::string Span(const BaseRatePeriod& p) {
  return FormatDMY(p.firstDay) + " - " + FormatDMY(p.lastDay);
}
}  // namespace

void BaseRateTable::Add(const BaseRatePeriod& period) {
  BaseRatePeriod p = period;
  p.firstDay = std::trunc(p.firstDay);
  p.lastDay = std::trunc(p.lastDay);
  p.issueDate = std::trunc(p.issueDate);
  if (p.lastDay < p.firstDay) throw Error("Периодът " + Span(p) + " свършва преди да започне.");
  if (!entries_.empty() && p.firstDay != entries_.back().lastDay + 1) {
    throw Error("Периодът " + Span(p) + " не започва в деня след предходния период (" +
                Span(entries_.back()) + ").");
  }
  entries_.push_back(p);
}

int BaseRateTable::SelectRateRange(TDate rateDate) const {
  const double d = std::trunc(rateDate);
  const int last = Count() - 1;
  if (d == 0) return last;
  // A rate issued after the rate date was not known on it: the table ends
  // before that period.
  for (int i = 0; i <= last; ++i) {
    if (entries_[i].issueDate > d) return i - 1;
  }
  return last;
}

int BaseRateTable::FindPeriod(TDate date, int lastUsable) const {
  int found = -1;
  for (int i = 0; i <= lastUsable && i < Count(); ++i) {
    if (DateBetween(date, entries_[i].firstDay, entries_[i].lastDay)) found = i;
  }
  return found;
}

}  // namespace zrv::state
