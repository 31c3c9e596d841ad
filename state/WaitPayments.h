#pragma once
// The invoices of a contract waiting for payment (table WaitPayments with
// columns of its invoice).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/Dates.h"
#include "platform/db/Database.h"

namespace zrv::state {

// One waiting payment with the sums of its invoice, in the contract's currency.
struct TWaitPaymentRow {
  int32_t contractId = 0;               // WP_DOCID
  int16_t year = 0;                     // WP_YEAR
  int16_t month = 0;                    // WP_MONTH
  int32_t invoiceId = 0;                // WP_INID
  int32_t id = 0;                       // WP_ID
  double generatedSum = 0;              // WP_GENSUM
  double generatedVat = 0;              // WP_GENDDS
  double factor = 0;                    // WP_FACTOR
  TDate date = 0;                       // WP_DATE
  int16_t state = 0;                    // WP_STATE
  double invoiceNumber = 0;             // IN_InvoiceNum
  double invoiceClearSum = 0;           // IN_PayClearSum / IN_Factor, rounded to cents
  double invoiceVat = 0;                // IN_PayDDS / IN_Factor, rounded to cents
  std::string secondInvoiceType = "A";  // first character of IN_SecondInvType, "A" when empty
  int16_t invoiceWaiting = 0;           // IN_WaitPay
  double generatedSumValue = 0;         // WP_GENSUM × WP_FACTOR
  double generatedVatValue = 0;         // WP_FACTOR × WP_GENDDS
  std::string typeText;                 // the contract's DOC_TYPETEXT
  int16_t invoiceKind = 0;              // 4 when the contract's DOC_TYPE < 1, else 1

  int PeriodKey() const { return year * 100 + month; }
};

// The waiting payments of one contract in the order read (year, month); owns
// its rows.
class TWaitPayments {
 public:
  void Clear() { rows_.clear(); }
  // Clears the list, then reads one row per record from the query's current
  // record on, each given the contract's type text and invoice kind.
  void LoadFromQuery(db::Query& query, const std::string& typeText, int16_t invoiceKind);
  TWaitPaymentRow& Add(const TWaitPaymentRow& row);

  int Count() const { return static_cast<int>(rows_.size()); }
  TWaitPaymentRow& At(int index) { return *rows_.at(index); }
  const TWaitPaymentRow& At(int index) const { return *rows_.at(index); }

 private:
  std::vector<std::unique_ptr<TWaitPaymentRow>> rows_;
};

}  // namespace zrv::state
