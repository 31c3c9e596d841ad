#pragma once
// The payments made on a contract (table Payment), in the order of their
// numbers.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/Dates.h"
#include "platform/db/Database.h"

namespace zrv::state {

struct TPayDetailRow;

// Payment statuses.
inline constexpr int16_t kPaymentRegular = 1;
inline constexpr int16_t kPaymentReversal = 3;

// One Payment row. Number 0 is the contract's initial payment.
struct TPaymentRow {
  int32_t contractId = 0;     // P_ID
  int32_t number = 0;         // P_NUM
  TDate date = 0;             // P_DATA, whole day
  double amount = 0;          // P_VAL
  double interest = 0;        // P_LIXVA: interest paid with the payment
  double vat = 0;             // P_DDS
  TDate interestDate = 0;     // P_LDATE + 1: first day not covered by paid interest; 0 when none
  double carry = 0;           // P_CARRY
  double factor = 0;          // P_FACTOR
  TDate periodStart = 0;      // P_DTSTART
  int32_t invoiceLink = 0;    // P_FLAG: IN_ID of the invoice the payment belongs to
  int16_t incomeType = 0;     // P_INCTYPE
  std::string comment;        // P_COMENT
  std::string payWay = "C";   // first character of P_PayWay, "C" when empty
  int32_t userId = 0;         // P_USERID
  std::string operatorName;   // P_OperatorName
  int16_t payType = 1;        // P_PAYTYPE, 0 read as 1
  int16_t masterNumber = 0;   // P_MasterNum: the payment a reversal reverses
  int16_t status = 0;         // P_Status: 1 regular, 3 reversal
  int32_t waitPaymentId = 0;  // P_WPID

  bool counted = false;                 // counted at the state date
  std::vector<TPayDetailRow*> details;  // the payment's split over periods; not owned
};

// The payments of one contract; owns its rows.
class TPayments {
 public:
  void Clear();
  // Clears the list, then reads one payment per record of an open query over
  // Payment.
  void LoadFromQuery(db::Query& query);
  // Appends a payment (used when copying a contract's state).
  TPaymentRow& Add(const TPaymentRow& row);

  int Count() const { return static_cast<int>(rows_.size()); }
  TPaymentRow& At(int index) { return *rows_.at(index); }
  const TPaymentRow& At(int index) const { return *rows_.at(index); }
  // List index of the payment numbered 0; 0 when there is none.
  int InitialIndex() const { return initialIndex_; }

 private:
  std::vector<std::unique_ptr<TPaymentRow>> rows_;
  int initialIndex_ = 0;
};

}  // namespace zrv::state
