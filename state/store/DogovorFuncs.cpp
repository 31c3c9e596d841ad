#include "state/store/DogovorFuncs.h"

#include <vector>

#include "platform/db/Transaction.h"

namespace zrv::state {

namespace {
constexpr const char* kSelectUnlinked =
    "select p_num from Payment left join Invoices on (IN_ID = P_FLAG) where "
    "(p_id = :id) and "
    "(p_num > 0) and (P_PAYTYPE = 1) and (IN_ID is null)";
constexpr const char* kDeletePayment = "delete from Payment where P_ID = :id and P_NUM = :num";
constexpr const char* kDeleteDetails = "delete from PayDetails where PD_ID = :id and PD_NUM = :num";
}  // namespace

int TDogovorFuncs::DeleteUnlinkedPayments(db::Connection& connection, int32_t contractId) {
  db::OwnTransaction tx(connection);
  auto query = connection.NewQuery();
  // Numbers are gathered first so the deletes never run under the open cursor.
  std::vector<int32_t> numbers;
  query->SetSQL(kSelectUnlinked);
  query->SetInteger("id", contractId);
  query->Open();
  for (; !query->Eof(); query->Next()) numbers.push_back(query->FieldByName("p_num").AsInteger());
  query->Close();
  for (int32_t number : numbers) {
    for (const char* sql : {kDeletePayment, kDeleteDetails}) {
      query->SetSQL(sql);
      query->SetInteger("id", contractId);
      query->SetInteger("num", number);
      query->Execute();
    }
  }
  tx.Commit();
  return static_cast<int>(numbers.size());
}

}  // namespace zrv::state
