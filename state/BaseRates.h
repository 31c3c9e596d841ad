#pragma once
// The table of statutory base-rate periods on which late-payment interest of
// the base-rate kinds is charged. The computation only reads a table handed to
// it; the program fills the process-wide table once at start-up from the
// database (BaseRatesStore.h).

#include <vector>

#include "common/Dates.h"

namespace zrv::state {

// One base-rate period.
struct BaseRatePeriod {
  double ratePercent = 0;  // annual rate, shown in the explanation lines
  double dailyFactor = 0;  // fraction of the amount charged per day at this rate
  TDate firstDay = 0;
  TDate lastDay = 0;
  TDate issueDate = 0;  // when the rate was announced; limits the table by a rate date
};

// Base-rate periods in ascending order, each starting the day after the
// previous one ends; the cutting of a span into segments relies on that order.
// Add refuses a period that breaks it.
class BaseRateTable {
 public:
  // Appends a period (whole days are kept). Throws zrv::Error when the period
  // ends before it starts or does not begin the day after the last period of
  // the table.
  void Add(const BaseRatePeriod& period);
  void Clear() { entries_.clear(); }

  int Count() const { return static_cast<int>(entries_.size()); }
  bool Empty() const { return entries_.empty(); }
  const BaseRatePeriod& At(int index) const { return entries_.at(index); }
  const std::vector<BaseRatePeriod>& Entries() const { return entries_; }

  // Index of the last period usable for the rate date: every period for the
  // empty date 0, otherwise the periods before the first one issued after the
  // rate date. -1 when none.
  int SelectRateRange(TDate rateDate) const;

  // Index of the last period among 0 .. lastUsable whose days enclose the date;
  // -1 when none.
  int FindPeriod(TDate date, int lastUsable) const;

 private:
  std::vector<BaseRatePeriod> entries_;
};

}  // namespace zrv::state
