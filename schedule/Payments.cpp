#include "schedule/Payments.h"

#include <cmath>

#include "common/Text.h"

namespace zrv::schedule {

namespace {

TPaymentRow ReadPayment(const db::Query& q) {
  TPaymentRow p;
  p.contractId = q.FieldByName("P_ID").AsInteger();
  p.number = q.FieldByName("P_NUM").AsInteger();
  p.date = std::trunc(q.FieldByName("P_DATA").AsDateTime());
  p.amount = q.FieldByName("P_VAL").AsFloat();
  p.interest = q.FieldByName("P_LIXVA").AsFloat();
  p.vat = q.FieldByName("P_DDS").AsFloat();
  // The stored date is the last day the paid interest covers; the model keeps
  // the next day.
  p.interestDate = std::trunc(q.FieldByName("P_LDATE").AsDateTime());
  if (p.interestDate != 0) p.interestDate += 1;
  p.carry = q.FieldByName("P_CARRY").AsFloat();
  p.factor = q.FieldByName("P_FACTOR").AsFloat();
  p.periodStart = q.FieldByName("P_DTSTART").AsDateTime();
  p.invoiceLink = q.FieldByName("P_FLAG").AsInteger();
  p.incomeType = static_cast<int16_t>(q.FieldByName("P_INCTYPE").AsInteger());
  p.comment = q.FieldByName("P_COMENT").AsString();
  const std::string payWay = q.FieldByName("P_PayWay").AsString();
  p.payWay = payWay.empty() ? "C" : Utf8Left(payWay, 1);
  p.userId = q.FieldByName("P_USERID").AsInteger();
  p.operatorName = q.FieldByName("P_OperatorName").AsString();
  p.payType = static_cast<int16_t>(q.FieldByName("P_PAYTYPE").AsInteger());
  if (p.payType == 0) p.payType = 1;
  p.masterNumber =
      static_cast<int16_t>(q.FieldByName("P_MasterNum").AsInteger());
  p.status = static_cast<int16_t>(q.FieldByName("P_Status").AsInteger());
  p.waitPaymentId = q.FieldByName("P_WPID").AsInteger();
  return p;
}

}  // namespace

void TPayments::Clear() {
  rows_.clear();
  initialIndex_ = 0;
}

void TPayments::LoadFromQuery(db::Query& query) {
  Clear();
  for (; !query.Eof(); query.Next()) Add(ReadPayment(query));
}

TPaymentRow& TPayments::Add(const TPaymentRow& row) {
  rows_.push_back(std::make_unique<TPaymentRow>(row));
  rows_.back()->details.clear();
  rows_.back()->counted = false;
  if (row.number == 0) initialIndex_ = Count() - 1;
  return *rows_.back();
}

}  // namespace zrv::schedule
