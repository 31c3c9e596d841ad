#include "state/WaitPayments.h"

#include "common/Text.h"
#include "schedule/RoundMoney.h"

namespace zrv::state {

namespace {

// An invoice amount in the contract's currency. A factor of 0 (not set) leaves
// it unconverted rather than dividing by zero.
double InContractCurrency(double amount, double factor) {
  if (factor == 1 || factor == 0) return amount;
  return schedule::RoundMoney(amount / factor);
}

TWaitPaymentRow ReadWaitPayment(const db::Query& q) {
  TWaitPaymentRow w;
  w.contractId = q.FieldByName("WP_DOCID").AsInteger();
  w.year = static_cast<int16_t>(q.FieldByName("WP_YEAR").AsInteger());
  w.month = static_cast<int16_t>(q.FieldByName("WP_MONTH").AsInteger());
  w.invoiceId = q.FieldByName("WP_INID").AsInteger();
  w.id = q.FieldByName("WP_ID").AsInteger();
  w.generatedSum = q.FieldByName("WP_GENSUM").AsFloat();
  w.generatedVat = q.FieldByName("WP_GENDDS").AsFloat();
  w.factor = q.FieldByName("WP_FACTOR").AsFloat();
  w.date = q.FieldByName("WP_DATE").AsDateTime();
  w.state = static_cast<int16_t>(q.FieldByName("WP_STATE").AsInteger());
  w.invoiceNumber = q.FieldByName("IN_InvoiceNum").AsFloat();
  const double invoiceFactor = q.FieldByName("IN_Factor").AsFloat();
  w.invoiceClearSum = InContractCurrency(q.FieldByName("IN_PayClearSum").AsFloat(), invoiceFactor);
  w.invoiceVat = InContractCurrency(q.FieldByName("IN_PayDDS").AsFloat(), invoiceFactor);
  const std::string second = q.FieldByName("IN_SecondInvType").AsString();
  w.secondInvoiceType = second.empty() ? "A" : Utf8Left(second, 1);
  w.invoiceWaiting = static_cast<int16_t>(q.FieldByName("IN_WaitPay").AsInteger());
  w.generatedSumValue = w.generatedSum * w.factor;
  w.generatedVatValue = w.factor * w.generatedVat;
  return w;
}

}  // namespace

void TWaitPayments::LoadFromQuery(db::Query& query, const std::string& typeText,
                                  int16_t invoiceKind) {
  Clear();
  for (; !query.Eof(); query.Next()) {
    TWaitPaymentRow w = ReadWaitPayment(query);
    w.typeText = typeText;
    w.invoiceKind = invoiceKind;
    Add(w);
  }
}

TWaitPaymentRow& TWaitPayments::Add(const TWaitPaymentRow& row) {
  rows_.push_back(std::make_unique<TWaitPaymentRow>(row));
  return *rows_.back();
}

}  // namespace zrv::state
