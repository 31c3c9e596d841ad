#pragma once
// TDocInfo: one stored rental contract in memory and its state at a date. It
// holds the contract's header, annexes, rent schedule, payments with their
// split over periods and the invoices waiting for payment; ComputeState applies
// every payment made by the date to the schedule period by period and works out
// what is still open, its VAT, the late-payment interest with its explanation,
// the money paid in advance and the totals.
//
// Loading reads through the database connection it was given and deletes the
// contract's payments that no invoice owns; nothing else is written. Annexes
// take their VAT rate from the state tables when they are loaded, and the
// computation reads the base-rate and currency-factor tables of the same.
// Single-threaded; not copyable (CopyFrom makes a working copy).

#include <cstdint>
#include <string>

#include "platform/db/Database.h"
#include "schedule/Anecs.h"
#include "state/BaseRates.h"
#include "state/LoadedRentInfo.h"
#include "state/PayDetails.h"
#include "state/PayHistory.h"
#include "state/Payments.h"
#include "state/StateTables.h"
#include "state/WaitPayments.h"

namespace zrv::state {

// The totals of a contract's state at a date.
struct TSummarySet {
  int PeriodsDue = 0;        // periods counted in Due
  int PeriodsPaidAhead = 0;  // later periods with money already paid
  double Due = 0;            // open amount of the periods due (less money paid ahead)
  double VatDue = 0;
  double InterestDue = 0;    // interest of the periods due
  double Carry = 0;          // P_CARRY of the last counted regular (or the initial) payment
  std::string Explanation;   // interest texts of the periods due, newest first,
                             // "\r\n" apart
  double Advance = 0;        // money paid beyond the schedule
  double InterestBase = 0;   // remaining amounts of the periods that bear interest
  double InterestTotal = 0;  // interest of every period plus Carry
  double DueConverted = 0;   // Due, VatDue and InterestDue in leva, each addend rounded
  double VatConverted = 0;
  double InterestConverted = 0;
  double CarryValue = 0;     // P_FACTOR × P_CARRY of the same payment as Carry
  int FirstFutureAnnex = 0;  // annex index and list index of the first period not yet due
  int FirstFutureIndex = 0;

  void Clear() { *this = TSummarySet(); }
};

// The contract's header as loaded from Documents, with the values derived from
// it.
struct TDocHeader {
  int32_t ContractId = 0;
  double InitSum = 0;         // Doc_InitSum: amount standing at the contract's start
  TDate Start = 0;            // DOC_DATASTART
  TDate Stop = 0;             // DOC_DATASTOP
  TDate TerminationDate = 0;  // DA_RF3: when set, the due-date limit instead of the stop
  TDate InterestStop = 0;     // Doc_LihvaStop: when set, no interest after this day
  std::string TenancyNote;    // DOC_PODSAD
  int32_t RentTypeId = 0;     // da_rf1
  int16_t Currency = 0;       // DA_VALUTA: 0 BGN, 1 EUR, 2 USD
  std::string CurrencyText;   // " BGN", " EUR", " USD"
  int32_t LeadContract = -1;  // DOC_LEADDOCID; -1 without a lead contract
  bool IsLead = true;
  bool Free = false;         // Doc_FREE
  bool HandEntered = false;  // Doc_HandRentInfo
  int32_t ContractType = 0;  // DOC_TYPE
  int16_t InvoiceKind = 1;   // 4 when DOC_TYPE < 1, else 1
  std::string TypeText;      // DOC_TYPETEXT
};

class TDocInfo;

// The reads of one contract, in the order and with the columns LoadContract's
// own statements give them: each query stands on the contract's first row and
// is at its end (Eof) after the contract's last.
struct TContractQueries {
  db::Query& header;
  db::Query& annexes;
  db::Query& payments;
  db::Query& rents;
  db::Query& details;
  db::Query& waitPayments;
};

// The contract-information record of a TDocInfo; it only refers back to its
// owner.
class TDocInitInfo {
 public:
  explicit TDocInitInfo(TDocInfo& owner) : owner_(owner) {}
  TDocInfo& Owner() const { return owner_; }

 private:
  TDocInfo& owner_;
};

class TDocInfo : public TDocHeader {
 public:
  // Contract id of a working copy made by CopyFrom.
  static constexpr int32_t kCopyId = -999;

  // Reads through `connection` and computes with `tables`; both must outlive
  // the object.
  TDocInfo(db::Connection& connection, const StateTables& tables);
  TDocInfo(const TDocInfo&) = delete;
  TDocInfo& operator=(const TDocInfo&) = delete;

  // Deletes the contract's payments no invoice owns, then fills the whole
  // object from the database. A contract id that does not exist loads a header
  // of zeros and empty lists. Database errors are raised.
  void LoadContract(int32_t contractId);
  // Fills the whole object from rows read elsewhere, without any clean-up and
  // without touching DeletedPayments: what LoadContract does after its
  // clean-up, for a reader that loads many contracts with a few statements.
  void LoadFrom(int32_t contractId, const TContractQueries& rows);

  // Computes the state: applies the payments made by `stateDate` (on it too
  // when `inclusive`), interest up to `interestDate` (no later than the
  // interest stop), and the totals of the periods due by `stateDate`, less
  // money paid ahead when `sumWithAdvance`. Every run starts again from the
  // loaded values.
  void ComputeState(bool sumWithAdvance, bool inclusive, TDate interestDate, TDate stateDate);

  // Deep copy of `other`'s header, annexes, payments, schedule, payment details
  // (the initial payment's detail is made again) and waiting payments; this
  // object becomes a working copy (contract id -999) that never distributes
  // paid interest.
  void CopyFrom(const TDocInfo& other);

  // VAT rate in percent of the last annex; 0 without annexes.
  double LastAnnexVatRate() const;

  // Steps of ComputeState, open for callers that need one of them alone.
  // Counts the payments made by `date` and resets the schedule to the loaded
  // prices; gives the sum of the counted P_VAL and of their P_LIXVA.
  void CountPayments(bool inclusive, TDate date, double& paidTotal, double& paidInterest);
  void ApplyPayment(TPaymentRow& payment);
  void ComputeRowInterest(TDate interestDate);
  void SumDue(bool inclusive, TDate date);
  void SumDueAndAdvance(bool inclusive, TDate date);
  // Attaches each detail to its payment; prepares the initial payment (number
  // 0) and its detail.
  void LinkPaymentDetails();

  bool IsCopy() const { return ContractId == kCopyId; }
  double CurrencyFactor() const { return tables_->currencyFactors.FactorOf(Currency); }

  // Lists.
  schedule::TAnecses Annexes;
  TLoadedRentInfo Rents;
  TPayments Payments;
  TPayDetailList Details;
  TWaitPayments WaitPayments;
  TPayHistoryList History;  // sorted by ComputeState

  // Payments of pay type 1 without an invoice that the last LoadContract
  // deleted.
  int DeletedPayments = 0;

  // State.
  TSummarySet Summary;
  TDate InterestSettledDate = 0;  // interest date of the last counted regular payment
  TDate StateDate = 0;
  TDate InterestDate = 0;
  int32_t FirstOpenPeriod = 0;  // keys YYYYMM
  int32_t LastOpenPeriod = 0;
  TDocInitInfo InitInfo{*this};

 private:
  void LoadHeader(db::Query& q);
  void SetDerivedHeader();
  void ApplyReversal(TPaymentRow& payment);
  void ApplyDetail(TPaymentRow& payment, TPayDetailRow& detail);
  void AddHistory(const TPaymentRow& payment, const schedule::TRentRow& row, double amount,
                  int16_t kind);
  // The first part of CountPayments: the schedule, the details and the totals
  // back to the loaded values, and the rows indexed.
  void StartCounting();
  // Takes the interest-settled date and the carry from a counted payment when
  // it is a regular one that pays (not a refund); tells whether it was.
  bool CountPayment(const TPaymentRow& payment);
  void SetOpenPeriods();
  // The day interest runs to for `interestDate`: no later than the interest
  // stop.
  TDate InterestLimit(TDate interestDate) const;
  // The period interest of one row at `interestDate` with its explanation.
  void ComputeOneRowInterest(schedule::TRentRow& row, TDate interestDate, TDate& freeDate,
                             double& priceStep);
  // The interest of one row at day `x` and its overdue days (0 when it bears
  // none); the explanation of its segments is appended to *text when one is
  // given. The free date and price step carry over to the next row.
  double RowInterest(const schedule::TRentRow& row, TDate x, TDate& freeDate, double& priceStep,
                     int& overdueDays, std::string* text) const;

  // Spreads paid interest through a working copy of this object.
  friend class TPaidInterestSpread;

  db::Connection* connection_;
  const StateTables* tables_;
};

}  // namespace zrv::state
