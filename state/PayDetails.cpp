#include "state/PayDetails.h"

namespace zrv::state {

namespace {
std::unique_ptr<TPayDetailRow> Detached(const TPayDetailRow& row) {
  auto copy = std::make_unique<TPayDetailRow>(row);
  copy->payment = nullptr;
  return copy;
}
}  // namespace

void TPayDetailList::LoadFromQuery(db::Query& query) {
  Clear();
  if (query.Eof()) return;
  // Columns looked up by name once for all rows.
  const db::Field& number = query.FieldByName("PD_NUM");
  const db::Field& year = query.FieldByName("PD_YEAR");
  const db::Field& month = query.FieldByName("PD_MONTH");
  const db::Field& sum = query.FieldByName("PD_SUM");
  for (; !query.Eof(); query.Next()) {
    TPayDetailRow d;
    d.number = number.AsInteger();
    d.year = year.AsInteger();
    d.month = month.AsInteger();
    d.sum = sum.AsFloat();
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

}  // namespace zrv::state
