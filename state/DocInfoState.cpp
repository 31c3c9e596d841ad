// Applying a contract's payments to its schedule: which payments count at a
// date, how each payment, refund and reversal moves money between the periods
// and the advance row, and how the interest paid with a payment is spread over
// the periods it was charged on.

#include <cmath>
#include <memory>
#include <vector>

#include "schedule/RoundMoney.h"
#include "state/DocInfo.h"
#include "state/PaidInterestSpread.h"

namespace zrv::state {

namespace {

constexpr double kCent = 0.01;

bool NearZero(double amount) { return std::fabs(amount) < kCent; }
void ZeroIfNear(double& amount) {
  if (NearZero(amount)) amount = 0;
}

}  // namespace

void TDocInfo::ComputeState(bool sumWithAdvance, bool inclusive, TDate interestDate,
                            TDate stateDate) {
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
    if (schedule::TRentRow* row = Rents.FindByPeriod(wait.PeriodKey())) row->VatOfRemaining = 0;
  }
  SetOpenPeriods();
  // The rows' indexes serve one computation; a caller may change the rows
  // after it.
  Rents.ForgetIndex();
}

void TDocInfo::SetOpenPeriods() {
  int year = 0, month = 0, day = 0;
  DecodeDate(Stop, year, month, day);
  FirstOpenPeriod = 0;
  LastOpenPeriod = year * 100 + month;
  bool found = false;
  for (int i = 0; i < Rents.Count(); ++i) {
    const schedule::TRentRow& row = *Rents.At(i);
    if (row.Remaining < kCent) continue;
    if (!found) FirstOpenPeriod = row.PeriodKey();
    LastOpenPeriod = row.PeriodKey();
    found = true;
  }
  if (!found) FirstOpenPeriod = LastOpenPeriod;
}

void TDocInfo::CountPayments(bool inclusive, TDate date, double& paidTotal, double& paidInterest) {
  StartCounting();
  paidTotal = paidInterest = 0;
  // Made at the first payment that paid interest, and kept for the later ones.
  std::unique_ptr<TPaidInterestSpread> spread;
  const double day = std::trunc(date);
  for (int i = 0; i < Payments.Count(); ++i) {
    TPaymentRow& p = Payments.At(i);
    p.counted = inclusive ? p.date <= day : p.date < day;
    if (!p.counted) continue;
    paidTotal += p.amount;
    paidInterest += p.interest;
    if (CountPayment(p) && p.interest > 0 && !IsCopy()) {
      if (!spread) spread = std::make_unique<TPaidInterestSpread>(*this);
      spread->Spread(p, *this);
    }
  }
}

void TDocInfo::StartCounting() {
  Summary.Clear();
  History.Clear();
  InterestSettledDate = 0;
  Rents.AdvanceRow.RI_CARRIED = 0;

  if (Payments.Count() > 0 && Payments.At(0).number == 0) {
    TPaymentRow& initial = Payments.At(0);
    Summary.Carry = initial.carry;
    Summary.CarryValue = initial.factor * initial.carry;
    InterestSettledDate = initial.interestDate;
    initial.date = 0;  // the initial payment counts at every date
  }
  for (int i = 0; i < Rents.Count(); ++i) {
    schedule::TRentRow& row = *Rents.At(i);
    row.Remaining = row.RI_PRICE;
    row.RI_CARRIED = 0;
    row.VatOfPaid = 0;
    row.VatOfRemaining = Rents.AnnexVatRate(row) * row.Remaining / 100;
    // Paid interest is spread again from the counted payments, so a second
    // computation never counts it twice. A working copy keeps what its
    // original had spread before it was made: a capped period must see the
    // interest already paid on it.
    if (!IsCopy()) row.InterestPaid = 0;
  }
  for (int i = 0; i < Details.Count(); ++i) Details.At(i).remaining = Details.At(i).sum;
  Rents.IndexRows();
}

bool TDocInfo::CountPayment(const TPaymentRow& p) {
  const bool pays = p.amount > -kCent && p.status == kPaymentRegular;
  if (pays) {
    InterestSettledDate = p.interestDate;
    Summary.Carry = p.carry;
    Summary.CarryValue = p.factor * p.carry;
  }
  return pays;
}

void TDocInfo::AddHistory(const TPaymentRow& payment, const schedule::TRentRow& row, double amount,
                          int16_t kind) {
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
  schedule::TRentRow* row = NearZero(Rents.AdvanceRow.RI_CARRIED)
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
        row->VatOfPaid += schedule::RoundMoney(b * vatRate / 100);
        if (!advance) {
          row->Remaining -= b;
          row->VatOfRemaining = Rents.AnnexVatRate(*row) * row->Remaining / 100;
        }
        detail.remaining -= b;
        Rents.RowChanged(*row);
        AddHistory(payment, *row, b, kHistoryApplied);
      }
      row = Rents.NextOpenRow(TLoadedRentInfo::OpenBy::Paid, row);
    } else {
      if (!NearZero(row->Remaining)) {
        const double b = std::min(r, row->Remaining);
        row->RI_CARRIED += b;
        row->VatOfPaid += schedule::RoundMoney(b * vatRate / 100);
        row->Remaining -= b;
        if (schedule::RoundMoney(std::fabs(row->Remaining)) < kCent) row->Remaining = 0;
        row->VatOfRemaining = Rents.AnnexVatRate(*row) * row->Remaining / 100;
        detail.remaining -= b;
        Rents.RowChanged(*row);
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
    const std::vector<int>& entries = History.IndexesOf(payment.masterNumber);
    for (size_t k = 0; k < entries.size() && entries[k] < count; ++k) {
      TPayHistoryItem& entry = History.At(entries[k]);
      if (entry.kind == kHistoryUndone) continue;
      const double b = entry.amount;
      schedule::TRentRow* row =
          entry.advance ? &Rents.AdvanceRow : Rents.FindByPeriod(entry.PeriodKey());
      if (row != nullptr) {
        row->RI_CARRIED -= b;
        if (!entry.advance) {
          row->VatOfPaid -= schedule::RoundMoney(b * vatRate / 100);
          row->Remaining += b;
          ZeroIfNear(row->Remaining);
          row->VatOfRemaining = Rents.AnnexVatRate(*row) * row->Remaining / 100;
        }
        Rents.RowChanged(*row);
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

}  // namespace zrv::state
