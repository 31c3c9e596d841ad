#pragma once
// Spreads the interest paid with a contract's payments over the periods that
// earned it. A payment's paid interest goes to the periods in schedule order,
// each taking what it had earned the day before the first day the payment no
// longer covers, with the payments made before that day applied.
//
// One working copy of the contract serves every payment of one state
// computation: as the payments' days move on it applies the next payments of
// the list to what it had, so a contract costs one pass over its payments
// instead of one per payment that paid interest. It starts again from the
// loaded values only when a day goes back or when the payments made before the
// day are not the first ones of the list (a payment recorded out of date
// order); then it applies them afresh, as a new copy would. The walk over the
// periods visits only the open ones and stops at the first open period that is
// not yet overdue when the due dates never fall from one period to the next.

#include <memory>
#include <vector>

#include "common/Dates.h"

namespace zrv::state {

class TDocInfo;
struct TPaymentRow;

class TPaidInterestSpread {
 public:
  // A working copy of `contract` as it stands (its payments prepared for
  // counting).
  explicit TPaidInterestSpread(const TDocInfo& contract);
  ~TPaidInterestSpread();
  TPaidInterestSpread(const TPaidInterestSpread&) = delete;
  TPaidInterestSpread& operator=(const TPaidInterestSpread&) = delete;

  // Adds the interest paid with `payment` to the paid interest of `contract`'s
  // periods (the contract the copy was made of).
  void Spread(const TPaymentRow& payment, TDocInfo& contract);

 private:
  // Brings the copy to the payments made before `day`, applied in list order.
  void ApplyPaymentsBefore(TDate day);
  void StartAfresh();

  std::unique_ptr<TDocInfo> copy_;
  std::vector<TDate> laterFirstDay_;  // [k]: earliest date of payments k..
  bool dueDatesRise_ = true;          // no period falls due before the one before it
  bool prefix_ = false;               // the copy holds payments 0 .. applied_ - 1
  int applied_ = 0;
  TDate day_ = 0;  // day the copy was last brought to
};

}  // namespace zrv::state
