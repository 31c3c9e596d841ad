#include "state/store/ContractNumberStore.h"

namespace zrv::state {

namespace {
constexpr const char* kSelectNumber = "select doc_nomtxt from documents where doc_id = :id";
}  // namespace

bool FindContractNumber(db::Connection& connection, int32_t id, std::string& number) {
  auto q = connection.NewQuery();
  q->SetSQL(kSelectNumber);
  q->SetInteger("id", id);
  q->Open();
  if (q->Eof()) return false;
  number = q->FieldAt(0).AsString();
  return true;
}

}  // namespace zrv::state
