#pragma once
// The statements of RENTSINFO, in a transaction the caller gives: a
// contract's schedule written (new periods inserted, stored ones updated,
// those outside it deleted), and a contract's type read.

#include <cstdint>

#include "platform/db/Database.h"
#include "schedule/RentInfo.h"

namespace zrv::schedule {

class ScheduleStore {
 public:
  explicit ScheduleStore(db::Transaction& tx) : tx_(tx) {}

  // Writes `rents`, rows of one contract: inserts periods not stored yet,
  // updates stored ones when `updateExisting` is set or the period started
  // under the last annex (the days, start and price only), and deletes the
  // contract's periods before the first and after the last row.
  void Write(const TRentInfo& rents, bool updateExisting) const;
  // doc_type of contract `docId`; 0 for a contract that does not exist.
  int32_t ContractType(int32_t docId) const;

 private:
  db::Transaction& tx_;
};

}  // namespace zrv::schedule
