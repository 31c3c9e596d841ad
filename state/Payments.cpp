#include "state/Payments.h"

#include <cmath>

#include "common/Text.h"

namespace zrv::state {

namespace {

// The columns of a Payment query, looked up by name once for all its rows.
struct PaymentColumns {
  explicit PaymentColumns(const db::Query& q)
      : id(q.FieldByName("P_ID")),
        number(q.FieldByName("P_NUM")),
        date(q.FieldByName("P_DATA")),
        amount(q.FieldByName("P_VAL")),
        interest(q.FieldByName("P_LIXVA")),
        vat(q.FieldByName("P_DDS")),
        interestDate(q.FieldByName("P_LDATE")),
        carry(q.FieldByName("P_CARRY")),
        factor(q.FieldByName("P_FACTOR")),
        periodStart(q.FieldByName("P_DTSTART")),
        invoiceLink(q.FieldByName("P_FLAG")),
        incomeType(q.FieldByName("P_INCTYPE")),
        comment(q.FieldByName("P_COMENT")),
        payWay(q.FieldByName("P_PayWay")),
        userId(q.FieldByName("P_USERID")),
        operatorName(q.FieldByName("P_OperatorName")),
        payType(q.FieldByName("P_PAYTYPE")),
        masterNumber(q.FieldByName("P_MasterNum")),
        status(q.FieldByName("P_Status")),
        waitPaymentId(q.FieldByName("P_WPID")) {}
  const db::Field &id, &number, &date, &amount, &interest, &vat, &interestDate, &carry, &factor,
      &periodStart, &invoiceLink, &incomeType, &comment, &payWay, &userId, &operatorName, &payType,
      &masterNumber, &status, &waitPaymentId;
};

// The payment of the query's current row.
TPaymentRow ReadPayment(const PaymentColumns& c) {
  TPaymentRow p;
  p.contractId = c.id.AsInteger();
  p.number = c.number.AsInteger();
  p.date = std::trunc(c.date.AsDateTime());
  p.amount = c.amount.AsFloat();
  p.interest = c.interest.AsFloat();
  p.vat = c.vat.AsFloat();
  // The stored date is the last day the paid interest covers; the model keeps
  // the next day.
  p.interestDate = std::trunc(c.interestDate.AsDateTime());
  if (p.interestDate != 0) p.interestDate += 1;
  p.carry = c.carry.AsFloat();
  p.factor = c.factor.AsFloat();
  p.periodStart = c.periodStart.AsDateTime();
  p.invoiceLink = c.invoiceLink.AsInteger();
  p.incomeType = static_cast<int16_t>(c.incomeType.AsInteger());
  p.comment = c.comment.AsString();
  const std::string payWay = c.payWay.AsString();
  p.payWay = payWay.empty() ? "C" : Utf8Left(payWay, 1);
  p.userId = c.userId.AsInteger();
  p.operatorName = c.operatorName.AsString();
  p.payType = static_cast<int16_t>(c.payType.AsInteger());
  if (p.payType == 0) p.payType = 1;
  p.masterNumber = static_cast<int16_t>(c.masterNumber.AsInteger());
  p.status = static_cast<int16_t>(c.status.AsInteger());
  p.waitPaymentId = c.waitPaymentId.AsInteger();
  return p;
}

}  // namespace

void TPayments::Clear() {
  rows_.clear();
  initialIndex_ = 0;
}

void TPayments::LoadFromQuery(db::Query& query) {
  Clear();
  if (query.Eof()) return;
  const PaymentColumns columns(query);
  for (; !query.Eof(); query.Next()) Add(ReadPayment(columns));
}

TPaymentRow& TPayments::Add(const TPaymentRow& row) {
  rows_.push_back(std::make_unique<TPaymentRow>(row));
  rows_.back()->details.clear();
  rows_.back()->counted = false;
  if (row.number == 0) initialIndex_ = Count() - 1;
  return *rows_.back();
}

}  // namespace zrv::state
