#pragma once
// The rent schedule of a contract as a function of its annexes, without the
// database: one of the two schedule kinds builds the periods and their rents.
//
//   calendar months (contract types 1002, -1002): periods are calendar months;
//     a partial first and last month are charged pro rata by days, every month
//     is rounded to cents;
//   anniversary (types 1400, -1400): periods run from the contract's start day
//     of month to the same day of the next month, and a remainder period
//     closes the contract; prices are not rounded.
//
// The annexes are those of the contract as stored, in annex order: whole days,
// each stopping where the next begins, the last on the contract's end.

#include <cstdint>

#include "common/Dates.h"
#include "schedule/Anecs.h"
#include "schedule/RentInfo.h"

namespace zrv::schedule {

class ScheduleBuilder {
 public:
  // Builds into `rents` (emptied first) the schedule of contract `docId` from
  // `annexes`; both must outlive the builder.
  ScheduleBuilder(int32_t docId, const TAnecses& annexes, TRentInfo& rents)
      : docId_(docId), annexes_(annexes), rents_(rents) {
    rents_.Clear();
  }

  // An `end` of 0 means the stop of the last annex. Throw zrv::Error, leaving
  // the list empty or partial, when there are no annexes, the end lies before
  // the start, a date lies outside the years 1900 to 9899 or the term exceeds
  // 100 years, or no annex covers a period.
  void BuildCalendar(TDate end);
  void BuildAnniversary(TDate end);

 private:
  // The schedule's first day (start of the first annex) and last day (`end`,
  // or the stop of the last annex), checked for a usable term.
  void TermOf(TDate end, TDate& first, TDate& last) const;
  TRentRow& AppendRow(TDate start, int32_t days);
  // The index of the first annex from `k` on whose days hold `day`; throws
  // when none does.
  int AnnexHolding(int k, TDate day) const;
  [[noreturn]] void FailNoAnnex(TDate day) const;

  int32_t docId_;
  const TAnecses& annexes_;
  TRentInfo& rents_;
};

}  // namespace zrv::schedule
