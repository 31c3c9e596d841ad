// TDocInfo::LoadContract: the statements that read one stored contract, and
// the clean-up before them.

#include "platform/db/Transaction.h"
#include "state/DocInfo.h"
#include "state/store/DogovorFuncs.h"

namespace zrv::state {

namespace {

constexpr const char* kSelectHeader =
    "select Doc_InitSum, DOC_DATASTART, DOC_DATASTOP, DA_VALUTA, DOC_TYPE, "
    "doc_SmetInitSum, "
    "doc_podsad, da_rf1, da_rf3, Doc_LihvaStop, DOC_TYPETEXT, DOC_LEADDOCID, "
    "DOC_FREE, "
    "doc_handrentinfo from Documents where doc_id = :id";
constexpr const char* kSelectAnnexes =
    "select * from Anecs where AN_ID = :id order by AN_ID, AN_NUM";
constexpr const char* kSelectPayments = "select * from Payment where P_ID = :id order by P_NUM";
constexpr const char* kSelectRents =
    "select * from RentsInfo where RI_DOCID = :id order by RI_DOCID, RI_YEAR, "
    "RI_MONTH";
constexpr const char* kSelectDetails =
    "select * from PayDetails where PD_ID = :id order by PD_NUM, PD_YEAR, "
    "PD_MONTH";
constexpr const char* kSelectWaitPayments =
    "select WaitPayments.*, IN_InvoiceNum, IN_PayClearSum, IN_PayDDS, "
    "IN_Factor, "
    "IN_SecondInvType, IN_WaitPay from WaitPayments inner join Invoices on "
    "(IN_ID = WP_INID) "
    "where WP_DOCID = :id order by WP_DOCID, WP_YEAR, WP_MONTH";

// Opens `sql` for the contract id on a fresh query of the connection. The
// id is a parameter, so the connection prepares each text once and reuses it
// for every contract.
std::unique_ptr<db::Query> OpenFor(db::Connection& connection, const char* sql, int32_t id) {
  auto q = connection.NewQuery();
  q->SetSQL(sql);
  q->SetInteger("id", id);
  q->Open();
  return q;
}

}  // namespace

void TDocInfo::LoadContract(int32_t contractId) {
  db::Connection& db = *connection_;
  // The clean-up and every read share one transaction (or the caller's): one
  // start and one commit instead of one for each statement.
  db::OwnTransaction tx(db);
  DeletedPayments = TDogovorFuncs::DeleteUnlinkedPayments(db, contractId);
  LoadFrom(
      contractId,
      {*OpenFor(db, kSelectHeader, contractId), *OpenFor(db, kSelectAnnexes, contractId),
       *OpenFor(db, kSelectPayments, contractId), *OpenFor(db, kSelectRents, contractId),
       *OpenFor(db, kSelectDetails, contractId), *OpenFor(db, kSelectWaitPayments, contractId)});
  tx.Commit();
}

}  // namespace zrv::state
