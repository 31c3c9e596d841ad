#include "schedule/RentInfo.h"

namespace zrv::schedule {

TRentRow& TRentInfo::Append() {
  rows_.push_back(std::make_unique<TRentRow>());
  rows_.back()->ListIndex = static_cast<int>(rows_.size()) - 1;
  return *rows_.back();
}

TRentRow* TRentInfo::At(int index) {
  if (index < 0 || index >= Count()) return nullptr;
  return rows_[index].get();
}

const TRentRow* TRentInfo::At(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return rows_[index].get();
}

}  // namespace zrv::schedule
