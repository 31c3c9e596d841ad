#include "state/store/ContractsByNumberStore.h"

namespace zrv::state {

namespace {
constexpr const char* kSelectByNumber =
    "select d.doc_id, d.doc_data, d.doc_datastart, d.doc_datastop, p.per_name "
    "from documents d left join persons p on p.per_id = d.da_if1 "
    "where d.doc_nomtxt = :number order by d.doc_id";

TDate DateOrZero(const db::Field& field) { return field.IsNull() ? 0 : field.AsDateTime(); }
}  // namespace

std::vector<ContractWithNumber> FindContractsByNumber(db::Connection& connection,
                                                      const std::string& number) {
  auto q = connection.NewQuery();
  q->SetSQL(kSelectByNumber);
  q->SetString("number", number);
  std::vector<ContractWithNumber> found;
  for (q->Open(); !q->Eof(); q->Next()) {
    found.push_back({q->FieldAt(0).AsInteger(), DateOrZero(q->FieldAt(1)),
                     DateOrZero(q->FieldAt(2)), DateOrZero(q->FieldAt(3)),
                     q->FieldAt(4).IsNull() ? "" : q->FieldAt(4).AsString()});
  }
  return found;
}

}  // namespace zrv::state
