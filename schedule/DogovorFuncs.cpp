#include "schedule/DogovorFuncs.h"

#include <vector>

#include "common/Text.h"
#include "platform/db/Transaction.h"

namespace zrv::schedule {

namespace {
constexpr const char* kSelectUnlinked =
    "select p_num from Payment left join Invoices on (IN_ID = P_FLAG) where "
    "(p_id = %d) and "
    "(p_num > 0) and (P_PAYTYPE = 1) and (IN_ID is null)";
constexpr const char* kDeletePayment =
    "delete from Payment where P_ID = %d and P_NUM = %d";
constexpr const char* kDeleteDetails =
    "delete from PayDetails where PD_ID = %d and PD_NUM = %d";
}  // namespace

void TDogovorFuncs::DeleteUnlinkedPayments(db::Connection& connection,
                                           int32_t contractId) {
  db::OwnTransaction tx(connection);
  auto query = connection.NewQuery();
  // Numbers are gathered first so the deletes never run under the open cursor.
  std::vector<int32_t> numbers;
  query->SetSQL(Format(kSelectUnlinked, contractId));
  query->Open();
  for (; !query->Eof(); query->Next())
    numbers.push_back(query->FieldByName("p_num").AsInteger());
  query->Close();
  for (int32_t number : numbers) {
    query->SetSQL(Format(kDeletePayment, contractId, number));
    query->Execute();
    query->SetSQL(Format(kDeleteDetails, contractId, number));
    query->Execute();
  }
  tx.Commit();
}

}  // namespace zrv::schedule
