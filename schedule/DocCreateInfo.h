#pragma once
// The rent schedule of a stored contract: its annexes read, its periods built
// (ScheduleBuilder) and stored in RENTSINFO.
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
  // The same from `annexes`, the contract's annexes as stored (see
  // ScheduleBuilder.h), without reading them.
  void BuildCalendarSchedule(int32_t docId, const TAnecses& annexes, TDate end);
  void BuildAnniversarySchedule(int32_t docId, const TAnecses& annexes, TDate end);

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
  // Copies `annexes` in place of the loaded ones and empties the rent list.
  void UseAnnexes(const TAnecses& annexes);

  db::Connection& db_;
  TAnecses annexes_;
  TRentInfo rents_;
};

}  // namespace zrv::schedule
