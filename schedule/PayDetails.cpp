#include "schedule/PayDetails.h"

namespace zrv::schedule {

namespace {
std::unique_ptr<TPayDetailRow> Detached(const TPayDetailRow& row) {
  auto copy = std::make_unique<TPayDetailRow>(row);
  copy->payment = nullptr;
  return copy;
}
}  // namespace

void TPayDetailList::LoadFromQuery(db::Query& query) {
  Clear();
  for (; !query.Eof(); query.Next()) {
    TPayDetailRow d;
    d.number = query.FieldByName("PD_NUM").AsInteger();
    d.year = query.FieldByName("PD_YEAR").AsInteger();
    d.month = query.FieldByName("PD_MONTH").AsInteger();
    d.sum = query.FieldByName("PD_SUM").AsFloat();
    Add(d);
  }
}

TPayDetailRow& TPayDetailList::Add(const TPayDetailRow& row) {
  rows_.push_back(Detached(row));
  return *rows_.back();
}

TPayDetailRow& TPayDetailList::InsertFront(const TPayDetailRow& row) {
  rows_.insert(rows_.begin(), Detached(row));
  return *rows_.front();
}

}  // namespace zrv::schedule
