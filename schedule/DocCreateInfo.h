#pragma once
// The rent schedule builder: reads a contract's annexes, builds its periods by
// one of the two schedule kinds and stores them in RENTSINFO.
//
//   calendar months (contract types 1002, -1002): periods are calendar months;
//   a partial first
//     and last month are charged pro rata by days, every month is rounded to
//     cents;
//   anniversary (types 1400, -1400): periods run from the contract's start day
//   of month to the
//     same day of the next month, and a remainder period closes the contract.
//
// A builder is made for one rebuild, filled by one Build call, stored, and
// dropped. It uses the connection it is given, which must outlive it.
// Single-threaded.

#include <cstdint>

#include "common/Dates.h"
#include "platform/db/Database.h"
#include "schedule/Anecs.h"
#include "schedule/RentInfo.h"

namespace zrv::schedule {

class TDocCreateInfo {
 public:
  explicit TDocCreateInfo(db::Connection& connection) : db_(connection) {}
  TDocCreateInfo(const TDocCreateInfo&) = delete;
  TDocCreateInfo& operator=(const TDocCreateInfo&) = delete;

  // Fill the rent list of contract `docId` from its stored annexes; an `end` of
  // 0 means the stop of the last annex. Throw zrv::Error, leaving the list
  // empty or partial, when the contract has no annexes, its end lies before its
  // start, a date lies outside the years 1900 to 9899 or the term exceeds 100
  // years, or no annex covers a period; database errors travel on.
  void BuildCalendarSchedule(int32_t docId, TDate end);
  void BuildAnniversarySchedule(int32_t docId, TDate end);

  // Writes the rent list to RENTSINFO: inserts periods not stored yet, updates
  // stored ones when `updateExisting` is set or the period started under the
  // last annex (the days, start and price only), and deletes the contract's
  // periods before the first and after the last built period. Runs in the
  // caller's transaction or in one of its own; an error rolls back only its own
  // and travels on.
  void StoreSchedule(bool updateExisting);

  const TAnecses& Annexes() const { return annexes_; }
  const TRentInfo& Rents() const { return rents_; }

 private:
  // Loads the contract's annexes and empties the rent list.
  void LoadAnnexes(int32_t docId);
  // The schedule's first day (start of the first annex) and last day (`end`, or
  // the stop of the last annex), checked for a usable term.
  void TermOf(int32_t docId, TDate end, TDate& first, TDate& last) const;
  TRentRow& AppendRow(int32_t docId, TDate start, int32_t days);
  // The index of the first annex from `k` on whose days hold `day`; throws when
  // none does.
  int AnnexHolding(int k, TDate day, int32_t docId) const;
  [[noreturn]] void FailNoAnnex(int32_t docId, TDate day) const;

  db::Connection& db_;
  TAnecses annexes_;
  TRentInfo rents_;
};

}  // namespace zrv::schedule
