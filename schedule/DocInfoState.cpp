// Applying a contract's payments to its schedule: which payments count at a
// date, how each payment, refund and reversal moves money between the periods
// and the advance row, and how the interest paid with a payment is spread over
// the periods it was charged on.

#include <cmath>
#include <memory>

#include "schedule/DocInfo.h"
#include "schedule/RoundMoney.h"

namespace zrv::schedule {

namespace {

constexpr double kCent = 0.01;

bool NearZero(double amount) { return std::fabs(amount) < kCent; }
void ZeroIfNear(double& amount) {
  if (NearZero(amount)) amount = 0;
}

}  // namespace

void TDocInfo::ComputeState(bool sumWithAdvance, bool inclusive,
                            TDate interestDate, TDate stateDate) {
  StateDate = stateDate;
  double paidTotal = 0, paidInterest = 0;
  CountPayments(inclusive, stateDate, paidTotal, paidInterest);
  for (int i = 0; i < Payments.Count(); ++i) {
    if (Payments.At(i).counted) ApplyPayment(Payments.At(i));
  }
  Summary.Advance = Rents.AdvanceRow.RI_CARRIED;
  ComputeRowInterest(interestDate);
  if (sumWithAdvance) {
    SumDueAndAdvance(inclusive, stateDate);
  } else {
    SumDue(false, stateDate);
  }
  History.Sort();
  // An invoice issued without VAT leaves no VAT open on its period.
  for (int i = 0; i < WaitPayments.Count(); ++i) {
    const TWaitPaymentRow& wait = WaitPayments.At(i);
    if (std::fabs(wait.invoiceVat) >= kCent) continue;
    if (TRentRow* row = Rents.FindByPeriod(wait.PeriodKey()))
      row->VatOfRemaining = 0;
  }
  SetOpenPeriods();
}

void TDocInfo::SetOpenPeriods() {
  int year = 0, month = 0, day = 0;
  DecodeDate(Stop, year, month, day);
  FirstOpenPeriod = 0;
  LastOpenPeriod = year * 100 + month;
  bool found = false;
  for (int i = 0; i < Rents.Count(); ++i) {
    const TRentRow& row = *Rents.At(i);
    if (row.Remaining < kCent) continue;
    if (!found) FirstOpenPeriod = row.PeriodKey();
    LastOpenPeriod = row.PeriodKey();
    found = true;
  }
  if (!found) FirstOpenPeriod = LastOpenPeriod;
}

void TDocInfo::CountPayments(bool inclusive, TDate date, double& paidTotal,
                             double& paidInterest) {
  Summary.Clear();
  History.Clear();
  InterestSettledDate = 0;
  Rents.AdvanceRow.RI_CARRIED = 0;
  paidTotal = paidInterest = 0;

  if (Payments.Count() > 0 && Payments.At(0).number == 0) {
    TPaymentRow& initial = Payments.At(0);
    Summary.Carry = initial.carry;
    Summary.CarryValue = initial.factor * initial.carry;
    InterestSettledDate = initial.interestDate;
    initial.date = 0;  // the initial payment counts at every date
  }
  for (int i = 0; i < Rents.Count(); ++i) {
    TRentRow& row = *Rents.At(i);
    row.Remaining = row.RI_PRICE;
    row.RI_CARRIED = 0;
    row.VatOfPaid = 0;
    row.VatOfRemaining = Rents.AnnexVatRate(row) * row.Remaining / 100;
    // Paid interest is spread again below from the counted payments, so a
    // second computation never counts it twice. A working copy keeps what its
    // original had spread before it was made: a capped period must see the
    // interest already paid on it.
    if (!IsCopy()) row.InterestPaid = 0;
  }
  for (int i = 0; i < Details.Count(); ++i)
    Details.At(i).remaining = Details.At(i).sum;

  const double day = std::trunc(date);
  for (int i = 0; i < Payments.Count(); ++i) {
    TPaymentRow& p = Payments.At(i);
    p.counted = inclusive ? p.date <= day : p.date < day;
    if (!p.counted) continue;
    paidTotal += p.amount;
    paidInterest += p.interest;
    if (p.amount > -kCent && p.status == kPaymentRegular) {
      InterestSettledDate = p.interestDate;
      Summary.Carry = p.carry;
      Summary.CarryValue = p.factor * p.carry;
      if (p.interest > 0 && !IsCopy()) DistributePaidInterest(p);
    }
  }
}

void TDocInfo::DistributePaidInterest(const TPaymentRow& payment) {
  // The interest the payment settled is what the periods had earned the day
  // before the first day it no longer covers; it is assigned to them in
  // schedule order.
  auto copy = std::make_unique<TDocInfo>();
  copy->CopyFrom(*this);
  copy->ComputeState(false, false, payment.interestDate - 1,
                     payment.interestDate - 1);
  double left = payment.interest;
  for (int i = 0; i < copy->Rents.Count() && i < Rents.Count(); ++i) {
    const double interest = copy->Rents.At(i)->Interest;
    if (interest <= 0) continue;
    if (interest >= left) {
      Rents.At(i)->InterestPaid += left;
      break;
    }
    Rents.At(i)->InterestPaid += interest;
    left -= interest;
  }
}

void TDocInfo::AddHistory(const TPaymentRow& payment, const TRentRow& row,
                          double amount, int16_t kind) {
  TPayHistoryItem item;
  item.initial = payment.number == 0;
  item.amount = amount;
  item.advance = Rents.IsAdvance(&row);
  item.year = item.advance ? 0 : row.RI_YEAR;
  item.month = item.advance ? 0 : row.RI_MONTH;
  item.payment = const_cast<TPaymentRow*>(&payment);
  item.paymentNumber = payment.number;
  item.kind = kind;
  History.Add(item);
}

void TDocInfo::ApplyPayment(TPaymentRow& payment) {
  if (payment.status == kPaymentReversal) {
    ApplyReversal(payment);
    return;
  }
  for (TPayDetailRow* detail : payment.details) ApplyDetail(payment, *detail);
}

void TDocInfo::ApplyDetail(TPaymentRow& payment, TPayDetailRow& detail) {
  const double vatRate = LastAnnexVatRate();
  TRentRow* row = NearZero(Rents.AdvanceRow.RI_CARRIED)
                      ? Rents.FindByPeriod(detail.PeriodKey())
                      : &Rents.AdvanceRow;
  while (row != nullptr && !NearZero(detail.remaining)) {
    const double r = detail.remaining;
    const bool advance = Rents.IsAdvance(row);
    if (r < kCent) {
      // A refund takes money back from the periods (or the advance) that hold
      // it.
      if (!NearZero(row->RI_CARRIED)) {
        double b = r;
        if (row->RI_CARRIED < std::fabs(r)) b = -row->RI_CARRIED;
        row->RI_CARRIED += b;
        row->VatOfPaid += RoundMoney(b * vatRate / 100);
        if (!advance) {
          row->Remaining -= b;
          row->VatOfRemaining = Rents.AnnexVatRate(*row) * row->Remaining / 100;
        }
        detail.remaining -= b;
        AddHistory(payment, *row, b, kHistoryApplied);
      }
      row = Rents.NextOpenRow(TLoadedRentInfo::OpenBy::Paid, row);
    } else {
      if (!NearZero(row->Remaining)) {
        const double b = std::min(r, row->Remaining);
        row->RI_CARRIED += b;
        row->VatOfPaid += RoundMoney(b * vatRate / 100);
        row->Remaining -= b;
        if (RoundMoney(std::fabs(row->Remaining)) < kCent) row->Remaining = 0;
        row->VatOfRemaining = Rents.AnnexVatRate(*row) * row->Remaining / 100;
        detail.remaining -= b;
        AddHistory(payment, *row, b, kHistoryApplied);
      }
      row = Rents.NextOpenRow(TLoadedRentInfo::OpenBy::Remaining, row);
    }
  }
  if (!NearZero(detail.remaining)) {
    Rents.AdvanceRow.RI_CARRIED += detail.remaining;
    AddHistory(payment, Rents.AdvanceRow, detail.remaining, kHistoryApplied);
  }
  detail.remaining = 0;
}

void TDocInfo::ApplyReversal(TPaymentRow& payment) {
  const double vatRate = LastAnnexVatRate();
  for (TPayDetailRow* detail : payment.details) {
    // Only entries made before this detail can be undone by it, never those it
    // writes itself.
    const int count = History.Count();
    for (int i = 0; i < count; ++i) {
      TPayHistoryItem& entry = History.At(i);
      if (entry.paymentNumber != payment.masterNumber ||
          entry.kind == kHistoryUndone)
        continue;
      const double b = entry.amount;
      TRentRow* row = entry.advance ? &Rents.AdvanceRow
                                    : Rents.FindByPeriod(entry.PeriodKey());
      if (row != nullptr) {
        row->RI_CARRIED -= b;
        if (!entry.advance) {
          row->VatOfPaid -= RoundMoney(b * vatRate / 100);
          row->Remaining += b;
          ZeroIfNear(row->Remaining);
          row->VatOfRemaining = Rents.AnnexVatRate(*row) * row->Remaining / 100;
        }
      }
      detail->remaining += b;
      ZeroIfNear(detail->remaining);
      entry.kind = kHistoryUndone;
      TPayHistoryItem undo = entry;
      undo.amount = -b;
      undo.kind = kHistoryReversal;
      undo.payment = &payment;
      undo.paymentNumber = payment.number;
      undo.initial = payment.number == 0;
      History.Add(undo);
      if (detail->remaining == 0) break;
    }
  }
}

}  // namespace zrv::schedule
