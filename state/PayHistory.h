#pragma once
// Which amount of which payment went to which rent period (or to the advance),
// as computed when a contract's state is worked out.

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace zrv::state {

struct TPaymentRow;

// Kinds of history entries.
inline constexpr int16_t kHistoryApplied = 1;
inline constexpr int16_t kHistoryUndone = 2;    // an applied entry a reversal has undone
inline constexpr int16_t kHistoryReversal = 3;  // written by a reversal

struct TPayHistoryItem {
  bool initial = false;            // the payment is the initial payment (number 0)
  double amount = 0;               // negative for reversals
  int month = 0;                   // 0 for the advance
  int year = 0;                    // 0 for the advance
  TPaymentRow* payment = nullptr;  // not owned
  int paymentNumber = 0;
  bool advance = false;  // went to, or came from, the advance row
  int16_t kind = kHistoryApplied;

  int PeriodKey() const { return year * 100 + month; }
  // advance × 100000 + year × 10000 + month × 100 + payment number.
  int64_t SortKey() const;
};

// The history entries of one state computation; owns them, in creation order
// until sorted.
class TPayHistoryList {
 public:
  void Clear() {
    items_.clear();
    byNumber_.clear();
  }
  TPayHistoryItem& Add(const TPayHistoryItem& item);
  int Count() const { return static_cast<int>(items_.size()); }
  TPayHistoryItem& At(int index) { return *items_.at(index); }
  const TPayHistoryItem& At(int index) const { return *items_.at(index); }

  // Ascending by SortKey: advance entries (year 0) first, then by year, month
  // and payment number. Payment numbers of 100 and more still sort after
  // smaller ones of the same month and before every entry of a later month.
  // Entries with equal keys keep their order.
  void Sort();

  // Indexes of the entries of payment number `number`, in list order. Kept by
  // Add, Clear and Sort; an entry's payment number is not changed once added.
  const std::vector<int>& IndexesOf(int number) const;

 private:
  std::vector<std::unique_ptr<TPayHistoryItem>> items_;
  std::unordered_map<int, std::vector<int>> byNumber_;
};

}  // namespace zrv::state
