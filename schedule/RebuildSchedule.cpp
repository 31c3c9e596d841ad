#include "schedule/RebuildSchedule.h"

#include "platform/db/Transaction.h"
#include "schedule/ContractTypes.h"
#include "schedule/ScheduleBuilder.h"
#include "schedule/store/AnnexStore.h"
#include "schedule/store/ScheduleStore.h"

namespace zrv::schedule {

void RebuildSchedule(db::Connection& db, int32_t docId, bool updateExisting) {
  db::OwnTransaction transaction(db);
  RebuildSchedule(transaction.Get(), docId, updateExisting);
  transaction.Commit();
}

void RebuildSchedule(db::Transaction& tx, int32_t docId, bool updateExisting) {
  const int32_t type = ScheduleStore(tx).ContractType(docId);
  if (type == kFixedScheduleContract) return;
  // The annexes are read in the same transaction the schedule is written in.
  TAnecses annexes;
  AnnexStore(tx).Load(docId, annexes);
  RebuildSchedule(tx, docId, type, annexes, updateExisting);
}

void RebuildSchedule(db::Transaction& tx, int32_t docId, int32_t type, const TAnecses& annexes,
                     bool updateExisting) {
  if (type == kFixedScheduleContract) return;
  TRentInfo rents;
  ScheduleBuilder builder(docId, annexes, rents);
  if (IsAnniversaryType(type))
    builder.BuildAnniversary(0);
  else if (IsCalendarType(type))
    builder.BuildCalendar(0);
  ScheduleStore(tx).Write(rents, updateExisting);
}

}  // namespace zrv::schedule
