#include "state/DocInfo.h"

#include <cmath>
#include <unordered_map>

#include "common/Text.h"

namespace zrv::state {

namespace {

constexpr const char* kCurrencyTexts[] = {" BGN", " EUR", " USD"};

}  // namespace

TDocInfo::TDocInfo(db::Connection& connection, const StateTables& tables)
    : connection_(&connection), tables_(&tables) {
  Rents.Annexes = &Annexes;
}

void TDocInfo::LoadFrom(int32_t contractId, const TContractQueries& rows) {
  ContractId = contractId;
  LoadHeader(rows.header);
  Annexes.LoadFromQuery(rows.annexes);
  for (int i = 0; i < Annexes.Count(); ++i) {
    schedule::TAnecsRow& annex = Annexes.At(i);
    annex.VatRate = tables_->vatRates.RateOf(annex.AN_DDS);
  }
  Payments.LoadFromQuery(rows.payments);
  Rents.DueDateLimit = TerminationDate != 0 ? TerminationDate : Stop;
  Rents.LoadFromQuery(rows.rents, ContractType, HandEntered);
  Details.LoadFromQuery(rows.details);
  WaitPayments.LoadFromQuery(rows.waitPayments, TypeText, InvoiceKind);
  LinkPaymentDetails();
}

void TDocInfo::LoadHeader(db::Query& q) {
  const int32_t id = ContractId;
  static_cast<TDocHeader&>(*this) = TDocHeader();
  ContractId = id;
  if (!q.Eof()) {
    InitSum = q.FieldByName("Doc_InitSum").AsFloat();
    Start = q.FieldByName("DOC_DATASTART").AsDateTime();
    Stop = q.FieldByName("DOC_DATASTOP").AsDateTime();
    Currency = static_cast<int16_t>(q.FieldByName("DA_VALUTA").AsInteger());
    ContractType = q.FieldByName("DOC_TYPE").AsInteger();
    TenancyNote = q.FieldByName("doc_podsad").AsString();
    RentTypeId = q.FieldByName("da_rf1").AsInteger();
    TerminationDate = q.FieldByName("da_rf3").AsFloat();
    InterestStop = q.FieldByName("Doc_LihvaStop").AsDateTime();
    TypeText = q.FieldByName("DOC_TYPETEXT").AsString();
    const db::Field& lead = q.FieldByName("DOC_LEADDOCID");
    LeadContract = lead.IsNull() ? -1 : lead.AsInteger();
    Free = q.FieldByName("DOC_FREE").AsString() == "T";
    HandEntered = q.FieldByName("doc_handrentinfo").AsString() == "T";
  }
  SetDerivedHeader();
}

void TDocInfo::SetDerivedHeader() {
  CurrencyText = (Currency >= 0 && Currency <= 2) ? kCurrencyTexts[Currency] : "";
  IsLead = LeadContract == -1;
  InvoiceKind = ContractType < 1 ? 4 : 1;
}

void TDocInfo::LinkPaymentDetails() {
  if (Payments.Count() > 0 && Payments.At(0).number == 0) {
    TPaymentRow& initial = Payments.At(0);
    if (std::trunc(Start) > initial.date) initial.date = std::trunc(Start) + 1;
    if (initial.interestDate != 0) initial.date = initial.interestDate;
    initial.amount = InitSum;
    initial.status = kPaymentRegular;
    if (InitSum >= 0.01) {
      int year = 0, month = 0, day = 0;
      DecodeDate(Start, year, month, day);
      TPayDetailRow detail;
      detail.number = 0;
      detail.year = year;
      detail.month = month;
      detail.sum = detail.remaining = InitSum;
      Details.InsertFront(detail);
    }
  }
  // Each detail goes to the first payment of its number.
  std::unordered_map<int32_t, TPaymentRow*> byNumber;
  for (int i = 0; i < Payments.Count(); ++i) {
    Payments.At(i).details.clear();
    byNumber.emplace(Payments.At(i).number, &Payments.At(i));
  }
  for (int d = 0; d < Details.Count(); ++d) {
    TPayDetailRow& detail = Details.At(d);
    const auto it = byNumber.find(detail.number);
    detail.payment = it == byNumber.end() ? nullptr : it->second;
    if (detail.payment) detail.payment->details.push_back(&detail);
  }
}

void TDocInfo::CopyFrom(const TDocInfo& other) {
  static_cast<TDocHeader&>(*this) = other;
  ContractId = kCopyId;
  connection_ = other.connection_;
  tables_ = other.tables_;

  Annexes.Clear();
  for (int i = 0; i < other.Annexes.Count(); ++i) Annexes.Append(other.Annexes.At(i));
  Payments.Clear();
  for (int i = 0; i < other.Payments.Count(); ++i) Payments.Add(other.Payments.At(i));
  Rents.Clear();
  Rents.ContractType = other.Rents.ContractType;
  Rents.HandEntered = other.Rents.HandEntered;
  Rents.DueDateLimit = other.Rents.DueDateLimit;
  Rents.AdvanceRow.CopyFrom(other.Rents.AdvanceRow);
  for (int i = 0; i < other.Rents.Count(); ++i) Rents.Append().CopyFrom(*other.Rents.At(i));
  // The initial payment's detail is not stored; linking makes it again from the
  // initial sum.
  Details.Clear();
  for (int i = 0; i < other.Details.Count(); ++i) {
    if (other.Details.At(i).number != 0) Details.Add(other.Details.At(i));
  }
  WaitPayments.Clear();
  for (int i = 0; i < other.WaitPayments.Count(); ++i) WaitPayments.Add(other.WaitPayments.At(i));
  History.Clear();
  LinkPaymentDetails();
}

double TDocInfo::LastAnnexVatRate() const { return Annexes.Empty() ? 0.0 : Annexes.Last().VatRate; }

}  // namespace zrv::state
