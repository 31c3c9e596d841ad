#pragma once
// The split of the contract's payments over rent periods (table PayDetails).

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/db/Database.h"

namespace zrv::state {

struct TPaymentRow;

// One PayDetails row: the part of payment `number` meant for one period.
struct TPayDetailRow {
  int32_t number = 0;              // PD_NUM: the P_NUM of its payment
  int32_t year = 0;                // PD_YEAR
  int32_t month = 0;               // PD_MONTH
  double sum = 0;                  // PD_SUM
  double remaining = 0;            // part of the sum not yet applied
  TPaymentRow* payment = nullptr;  // the payment with the same number, or none; not owned

  int PeriodKey() const { return year * 100 + month; }
};

// The details of one contract in the order read (number, year, month); owns its
// rows.
class TPayDetailList {
 public:
  void Clear() { rows_.clear(); }
  // Clears the list, then reads PD_NUM, PD_YEAR, PD_MONTH and PD_SUM of every
  // record.
  void LoadFromQuery(db::Query& query);
  TPayDetailRow& Add(const TPayDetailRow& row);
  TPayDetailRow& InsertFront(const TPayDetailRow& row);

  int Count() const { return static_cast<int>(rows_.size()); }
  TPayDetailRow& At(int index) { return *rows_.at(index); }
  const TPayDetailRow& At(int index) const { return *rows_.at(index); }

 private:
  std::vector<std::unique_ptr<TPayDetailRow>> rows_;
};

}  // namespace zrv::state
