#include "schedule/RebuildSchedule.h"

#include <memory>

#include "platform/db/Transaction.h"
#include "schedule/ContractTypes.h"
#include "schedule/DocCreateInfo.h"

namespace zrv::schedule {
namespace {

const char* const kSelectType =
    "select doc_type, doc_free from documents where doc_id = :doc_id";

int32_t ReadContractType(db::Connection& db, int32_t docId) {
  std::unique_ptr<db::Query> query = db.NewQuery();
  query->SetSQL(kSelectType);
  query->SetInteger("doc_id", docId);
  query->Open();
  const int32_t type =
      query->Eof() ? 0 : query->FieldByName("doc_type").AsInteger();
  query->Close();
  return type;
}

}  // namespace

void RebuildSchedule(db::Connection& db, int32_t docId, bool updateExisting) {
  const int32_t type = ReadContractType(db, docId);
  if (type == kFixedScheduleContract) return;
  // The annexes are read in the same transaction the schedule is written in.
  db::OwnTransaction transaction(db);
  TDocCreateInfo builder(db);
  if (IsAnniversaryType(type))
    builder.BuildAnniversarySchedule(docId, 0);
  else if (IsCalendarType(type))
    builder.BuildCalendarSchedule(docId, 0);
  builder.StoreSchedule(updateExisting);
  transaction.Commit();
}

void RebuildSchedule(db::Connection& db, int32_t docId, int32_t type,
                     const TAnecses& annexes, bool updateExisting) {
  if (type == kFixedScheduleContract) return;
  db::OwnTransaction transaction(db);
  TDocCreateInfo builder(db);
  if (IsAnniversaryType(type))
    builder.BuildAnniversarySchedule(docId, annexes, 0);
  else if (IsCalendarType(type))
    builder.BuildCalendarSchedule(docId, annexes, 0);
  builder.StoreSchedule(updateExisting);
  transaction.Commit();
}

}  // namespace zrv::schedule
