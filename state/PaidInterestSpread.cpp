#include "state/PaidInterestSpread.h"

#include <algorithm>
#include <cmath>

#include "state/DocInfo.h"

namespace zrv::state {

TPaidInterestSpread::TPaidInterestSpread(const TDocInfo& contract)
    : copy_(std::make_unique<TDocInfo>(*contract.connection_, *contract.tables_)) {
  copy_->CopyFrom(contract);
  const TLoadedRentInfo& rents = copy_->Rents;
  for (int i = 1; i < rents.Count(); ++i) {
    if (rents.At(i)->DueDate < rents.At(i - 1)->DueDate) dueDatesRise_ = false;
  }
}

TPaidInterestSpread::~TPaidInterestSpread() = default;

void TPaidInterestSpread::StartAfresh() {
  copy_->StartCounting();
  applied_ = 0;
  prefix_ = true;
  // Payment dates are fixed from here on (the initial payment's is 0).
  const int n = copy_->Payments.Count();
  laterFirstDay_.assign(n + 1, 0);
  laterFirstDay_[n] = INFINITY;
  for (int k = n - 1; k >= 0; --k) {
    laterFirstDay_[k] = std::min(laterFirstDay_[k + 1], copy_->Payments.At(k).date);
  }
}

void TPaidInterestSpread::ApplyPaymentsBefore(TDate day) {
  TDocInfo& copy = *copy_;
  if (!prefix_ || day < day_) StartAfresh();
  day_ = day;
  const int n = copy.Payments.Count();
  int k = applied_;
  while (k < n && copy.Payments.At(k).date < day) ++k;
  if (laterFirstDay_[k] >= day) {
    for (; applied_ < k; ++applied_) {
      copy.CountPayment(copy.Payments.At(applied_));
      copy.ApplyPayment(copy.Payments.At(applied_));
    }
    return;
  }
  // A payment further down the list was made before the day too: the payments
  // are applied afresh in list order, and the next day starts again.
  copy.StartCounting();
  for (int i = 0; i < n; ++i) {
    TPaymentRow& p = copy.Payments.At(i);
    if (p.date >= day) continue;
    copy.CountPayment(p);
    copy.ApplyPayment(p);
  }
  prefix_ = false;
}

void TPaidInterestSpread::Spread(const TPaymentRow& payment, TDocInfo& contract) {
  TDocInfo& copy = *copy_;
  const TDate before = payment.interestDate - 1;
  ApplyPaymentsBefore(std::trunc(before));
  const TDate x = copy.InterestLimit(before);
  TDate freeDate = 0;
  double priceStep = 0;
  double left = payment.interest;
  const int count = std::min(copy.Rents.Count(), contract.Rents.Count());
  for (int i = copy.Rents.NextOpenIndex(0); i >= 0 && i < count;
       i = copy.Rents.NextOpenIndex(i + 1)) {
    schedule::TRentRow& row = *copy.Rents.At(i);
    schedule::TRentRow& target = *contract.Rents.At(i);
    // A capped period must see the interest already paid on it.
    row.InterestPaid = target.InterestPaid;
    int overdueDays = 0;
    const double interest = copy.RowInterest(row, x, freeDate, priceStep, overdueDays, nullptr);
    if (overdueDays <= 0 && dueDatesRise_) break;  // no later period is overdue
    if (interest <= 0) continue;
    if (interest >= left) {
      target.InterestPaid += left;
      break;
    }
    target.InterestPaid += interest;
    left -= interest;
  }
}

}  // namespace zrv::state
