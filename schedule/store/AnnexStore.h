#pragma once
// The statements that add an annex to a stored contract, in a transaction the
// caller gives: the contract's type and period, its stop moved, the annex
// inserted (the database gives it its stop; see AnnexesAsStored.h).

#include <cstdint>

#include "common/Dates.h"
#include "platform/db/Database.h"
#include "schedule/Anecs.h"

namespace zrv::schedule {

// A stored contract's type and period; type 0 for a contract that does not
// exist.
struct ContractPeriod {
  int32_t type = 0;
  TDate start = 0;
  TDate stop = 0;
};

class AnnexStore {
 public:
  explicit AnnexStore(db::Transaction& tx) : tx_(tx) {}

  ContractPeriod Period(int32_t docId) const;
  // Sets the contract's stop and DA_IF2 (its old term in 30-day months).
  void MoveStop(int32_t docId, TDate stop, int32_t oldTermMonths) const;
  // Inserts `annex` as an annex of contract `docId`; a date of 0 is stored as
  // the current date and time.
  void Insert(int32_t docId, const TAnecsRow& annex) const;
  // Every annex of contract `docId`, in annex-number order.
  void Load(int32_t docId, TAnecses& annexes) const;

 private:
  db::Transaction& tx_;
};

}  // namespace zrv::schedule
