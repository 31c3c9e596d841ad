#include "schedule/DocCreateInfo.h"

#include "platform/db/Transaction.h"
#include "schedule/ScheduleBuilder.h"
#include "schedule/store/AnnexStore.h"
#include "schedule/store/ScheduleStore.h"

namespace zrv::schedule {

void TDocCreateInfo::LoadAnnexes(int32_t docId) {
  db::OwnTransaction transaction(db_);
  AnnexStore(transaction.Get()).Load(docId, annexes_);
  transaction.Commit();
  rents_.Clear();
}

void TDocCreateInfo::UseAnnexes(const TAnecses& annexes) {
  annexes_.Clear();
  for (int i = 0; i < annexes.Count(); ++i) annexes_.Append(annexes.At(i));
  rents_.Clear();
}

void TDocCreateInfo::BuildCalendarSchedule(int32_t docId, TDate end) {
  LoadAnnexes(docId);
  ScheduleBuilder(docId, annexes_, rents_).BuildCalendar(end);
}

void TDocCreateInfo::BuildAnniversarySchedule(int32_t docId, TDate end) {
  LoadAnnexes(docId);
  ScheduleBuilder(docId, annexes_, rents_).BuildAnniversary(end);
}

void TDocCreateInfo::BuildCalendarSchedule(int32_t docId, const TAnecses& annexes, TDate end) {
  UseAnnexes(annexes);
  ScheduleBuilder(docId, annexes_, rents_).BuildCalendar(end);
}

void TDocCreateInfo::BuildAnniversarySchedule(int32_t docId, const TAnecses& annexes, TDate end) {
  UseAnnexes(annexes);
  ScheduleBuilder(docId, annexes_, rents_).BuildAnniversary(end);
}

void TDocCreateInfo::StoreSchedule(bool updateExisting) {
  db::OwnTransaction transaction(db_);
  ScheduleStore(transaction.Get()).Write(rents_, updateExisting);
  transaction.Commit();
}

}  // namespace zrv::schedule
