#pragma once
// The annexes of a contract (table Anecs). Annex 1 holds the contract's own
// price, period and terms; every later change of price or term is a further
// annex, numbered 2, 3, ... An annex list owns its rows and keeps them in the
// order they were loaded (by annex number).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/Dates.h"
#include "platform/db/Database.h"

namespace zrv::schedule {

// One annex row. Fields named after their columns come from Anecs; the three
// below them are worked out when the row is loaded.
struct TAnecsRow {
  int32_t AN_ID = 0;       // the contract's DOC_ID
  int32_t AN_NUM = 0;      // 1 for the contract's own terms, then 2, 3, ...
  TDate AN_Data = 0;       // date of the annex; written when an annex is added, not loaded
  double AN_PRICE = 0;     // rent of a whole period while the annex is in force
  double AN_AddPrice = 0;  // price of a closing remainder period, or a total to spread by days
  TDate AN_DTStart = 0;    // first day in force (whole day)
  TDate AN_DTStop = 0;     // last day in force (whole day)
  int16_t AN_LType = 0;    // late-payment interest kind
  double AN_LPercent = 0;  // late-payment interest rate
  double AN_LMAX = 0;      // interest cap or multiplier, by interest kind
  int16_t AN_DDS = 0;      // VAT code
  int16_t AN_PayDay = 0;   // pay-day code (see DecodePayDay)
  std::string AN_REASON;
  std::string AN_COMENT;
  TDate AN_FreeDate = 0;  // end of a free period after the start (the start itself: none)

  int16_t PayDay = 0;    // day of month of the due date, decoded from AN_PayDay
  int16_t PayMonth = 0;  // month shift code of the due date, decoded from AN_PayDay
  double VatRate = 0;    // percent by AN_DDS; the contract state sets it
};

class TAnecses {
 public:
  TAnecses() = default;
  TAnecses(const TAnecses&) = delete;
  TAnecses& operator=(const TAnecses&) = delete;

  void Clear() { rows_.clear(); }
  // Empties the list, then adds one row per record of `query`, an open select
  // that returns every Anecs column, from its first record on. Start and stop
  // are cut to whole days; the pay day, its month shift and the VAT rate are
  // worked out. Database errors travel on.
  void LoadFromQuery(db::Query& query);
  // Appends a copy of the row and gives the list's own row.
  TAnecsRow& Append(const TAnecsRow& row);

  int Count() const { return static_cast<int>(rows_.size()); }
  bool Empty() const { return rows_.empty(); }
  // The row at `index`; throws zrv::Error when the index lies outside the list.
  const TAnecsRow& At(int index) const;
  TAnecsRow& At(int index);
  // The last row; throws zrv::Error when the list is empty.
  const TAnecsRow& Last() const;

 private:
  std::vector<std::unique_ptr<TAnecsRow>> rows_;
};

}  // namespace zrv::schedule
