#include "state/PayHistory.h"

#include <algorithm>

namespace zrv::state {

namespace {
// The key without the payment number, which the number only breaks ties of.
int64_t PeriodPart(const TPayHistoryItem& item) {
  return (item.advance ? 100000LL : 0LL) + item.year * 10000LL + item.month * 100LL;
}
}  // namespace

int64_t TPayHistoryItem::SortKey() const { return PeriodPart(*this) + paymentNumber; }

TPayHistoryItem& TPayHistoryList::Add(const TPayHistoryItem& item) {
  byNumber_[item.paymentNumber].push_back(Count());
  items_.push_back(std::make_unique<TPayHistoryItem>(item));
  return *items_.back();
}

void TPayHistoryList::Sort() {
  // Comparing the period first keeps a payment numbered 100 or more from
  // sliding into the next month, which the plain sum of the key would do.
  std::stable_sort(items_.begin(), items_.end(), [](const auto& a, const auto& b) {
    const int64_t pa = PeriodPart(*a), pb = PeriodPart(*b);
    if (pa != pb) return pa < pb;
    return a->paymentNumber < b->paymentNumber;
  });
  byNumber_.clear();
  for (int i = 0; i < Count(); ++i) byNumber_[items_[i]->paymentNumber].push_back(i);
}

const std::vector<int>& TPayHistoryList::IndexesOf(int number) const {
  static const std::vector<int> kNone;
  const auto it = byNumber_.find(number);
  return it == byNumber_.end() ? kNone : it->second;
}

}  // namespace zrv::state
