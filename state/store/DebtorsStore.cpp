#include "state/store/DebtorsStore.h"

#include "common/Text.h"

namespace zrv::state {

namespace {

// The selected contracts: the header columns the state reads, and the tenant
// and the property. Filters and the order follow.
constexpr const char* kSelectIds = "select d.doc_id";
constexpr const char* kSelectHeaders =
    "select d.doc_id, d.doc_nomtxt, d.Doc_InitSum, d.DOC_DATASTART, "
    "d.DOC_DATASTOP, d.DA_VALUTA, d.DOC_TYPE, d.doc_podsad, d.da_rf1, "
    "d.da_rf3, d.Doc_LihvaStop, d.DOC_TYPETEXT, d.DOC_LEADDOCID, d.DOC_FREE, "
    "d.doc_handrentinfo, p.per_name, p.per_egn, n.nm_text, n.nm_obtext, "
    "n.nm_eknm, i.im_nmas, i.im_npar, i.im_nn, i.im_ni";
constexpr const char* kFromContracts =
    " from documents d left join persons p on p.per_id = d.da_if1 "
    "left join imot i on i.im_id = d.doc_imotid "
    "left join nm_kl n on n.nm_id = i.im_nm "
    "left join renttypes t on t.rt_id = d.da_rf1 where d.doc_id is not null";
constexpr const char* kInRange = " and d.doc_id between :first and :last";
constexpr const char* kByContract = " and d.doc_id = :contract";
constexpr const char* kByMunicipality = " and upper(n.nm_obtext) = :municipality";
constexpr const char* kByTenant =
    " and (p.per_egn = :tenant_number or "
    "upper(p.per_name collate pxw_cyrl) containing :tenant_name)";
constexpr const char* kByRentType = " and upper(t.rt_text) = :rent_type";
constexpr const char* kByContractType = " and d.doc_type = :contract_type";
constexpr const char* kInContractOrder = " order by d.doc_id";

// One statement per table for a range of contracts, in the order and with the
// columns of the one-contract statements of the state.
constexpr const char* kSelectAnnexes =
    "select * from Anecs where AN_ID between :first and :last "
    "order by AN_ID, AN_NUM";
constexpr const char* kSelectPayments =
    "select * from Payment where P_ID between :first and :last "
    "order by P_ID, P_NUM";
constexpr const char* kSelectRents =
    "select * from RentsInfo where RI_DOCID between :first and :last "
    "order by RI_DOCID, RI_YEAR, RI_MONTH";
constexpr const char* kSelectDetails =
    "select * from PayDetails where PD_ID between :first and :last "
    "order by PD_ID, PD_NUM, PD_YEAR, PD_MONTH";
constexpr const char* kSelectWaitPayments =
    "select WaitPayments.*, IN_InvoiceNum, IN_PayClearSum, IN_PayDDS, "
    "IN_Factor, IN_SecondInvType, IN_WaitPay from WaitPayments inner join "
    "Invoices on (IN_ID = WP_INID) where WP_DOCID between :first and :last "
    "order by WP_DOCID, WP_YEAR, WP_MONTH";
// The payments the state's clean-up deletes: pay type 1, numbered above 0,
// without an invoice.
constexpr const char* kSelectUnlinked =
    "select P_ID, P_NUM from Payment left join Invoices on (IN_ID = P_FLAG) "
    "where (P_ID between :first and :last) and (P_NUM > 0) and "
    "(P_PAYTYPE = 1) and (IN_ID is null) order by P_ID, P_NUM";

// The cadastral identifier as it is written: the settlement's code and the
// four groups the property keeps; none when its third group is not set or
// every group is 0.
std::string CadastralId(const db::Query& q) {
  const std::string npar = Trim(q.FieldByName("im_npar").AsString());
  const int32_t nmas = q.FieldByName("im_nmas").AsInteger();
  const int32_t nn = q.FieldByName("im_nn").AsInteger();
  const int32_t ni = q.FieldByName("im_ni").AsInteger();
  if (npar.empty() || (nmas == 0 && npar == "0" && nn == 0 && ni == 0)) return "";
  return Format("%s.%d.%s.%d.%d", Trim(q.FieldByName("nm_eknm").AsString()).c_str(), nmas,
                npar.c_str(), nn, ni);
}

}  // namespace

DebtorsStore::DebtorsStore(db::Connection& connection, const ContractSelection& selection)
    : connection_(connection), selection_(selection) {}

std::unique_ptr<db::Query> DebtorsStore::Selected(const std::string& columns,
                                                  const std::string& range) const {
  const ContractSelection& s = selection_;
  int32_t contractType = 0;
  const bool typeIsNumber = !s.type.empty() && TryParseInt(s.type, contractType);
  std::string sql = columns + kFromContracts + range;
  if (s.contractId) sql += kByContract;
  if (!s.municipality.empty()) sql += kByMunicipality;
  if (!s.tenant.empty()) sql += kByTenant;
  if (!s.type.empty()) sql += typeIsNumber ? kByContractType : kByRentType;
  sql += kInContractOrder;

  auto q = connection_.NewQuery();
  q->SetSQL(sql);
  if (s.contractId) q->SetInteger("contract", *s.contractId);
  if (!s.municipality.empty()) q->SetString("municipality", UpperCase(Trim(s.municipality)));
  if (!s.tenant.empty()) {
    q->SetString("tenant_number", Trim(s.tenant));
    q->SetString("tenant_name", UpperCase(Trim(s.tenant)));
  }
  if (typeIsNumber) {
    q->SetInteger("contract_type", contractType);
  } else if (!s.type.empty()) {
    q->SetString("rent_type", UpperCase(Trim(s.type)));
  }
  return q;
}

std::vector<int32_t> DebtorsStore::SelectedIds() const {
  auto q = Selected(kSelectIds, "");
  q->Open();
  std::vector<int32_t> ids;
  ids.reserve(q->RecordCount());
  for (; !q->Eof(); q->Next()) ids.push_back(q->FieldAt(0).AsInteger());
  return ids;
}

std::unique_ptr<db::Query> DebtorsStore::Range(const char* sql, int32_t first, int32_t last) const {
  auto q = connection_.NewQuery();
  q->SetSQL(sql);
  q->SetInteger("first", first);
  q->SetInteger("last", last);
  q->Open();
  return q;
}

ContractBatch DebtorsStore::OpenBatch(int32_t first, int32_t last) const {
  ContractBatch batch;
  batch.header = Selected(kSelectHeaders, kInRange);
  batch.header->SetInteger("first", first);
  batch.header->SetInteger("last", last);
  batch.header->Open();
  batch.annexes = Range(kSelectAnnexes, first, last);
  batch.payments = Range(kSelectPayments, first, last);
  batch.rents = Range(kSelectRents, first, last);
  batch.details = Range(kSelectDetails, first, last);
  batch.waitPayments = Range(kSelectWaitPayments, first, last);
  batch.unlinked = Range(kSelectUnlinked, first, last);
  return batch;
}

ContractFacts DebtorsStore::ReadFacts(const db::Query& header) {
  ContractFacts facts;
  facts.id = header.FieldByName("doc_id").AsInteger();
  facts.number = header.FieldByName("doc_nomtxt").AsString();
  facts.tenant = header.FieldByName("per_name").AsString();
  facts.tenantNumber = header.FieldByName("per_egn").AsString();
  facts.settlement = header.FieldByName("nm_text").AsString();
  facts.municipality = header.FieldByName("nm_obtext").AsString();
  facts.cadastralId = CadastralId(header);
  return facts;
}

}  // namespace zrv::state
