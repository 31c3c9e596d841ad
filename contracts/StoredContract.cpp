#include "contracts/StoredContract.h"

#include <memory>

namespace zrv::contracts {
namespace {

const char* const kSameContract =
    "SELECT FIRST 1 d.doc_id FROM documents d\n"
    "JOIN imot i ON i.im_id = d.doc_imotid\n"
    "WHERE d.doc_type = :doc_type AND d.doc_nomtxt = :nomtxt\n"
    " AND d.doc_data = :doc_data AND d.da_if1 = :tenant\n";
const char* const kOnProperty = " AND d.doc_imotid = :imid";
// A property the row would add anew: the stored contract's property must look
// the same in every field the row gives it.
const char* const kOnSameLookingProperty =
    " AND i.im_nm = :nm AND COALESCE(i.im_nmas, 0) = :nmas\n"
    " AND COALESCE(i.im_npar, '') = :npar AND COALESCE(i.im_nn, 0) = :nn\n"
    " AND COALESCE(i.im_ni, 0) = :ni AND COALESCE(i.im_mestnost, -1) = :loc\n"
    " AND COALESCE(i.im_jk, -1) = :jk AND COALESCE(i.im_nulic, -1) = :street\n"
    " AND COALESCE(i.im_addressnom, '') = :addrno\n"
    " AND COALESCE(i.im_address, '') = :addr";

}  // namespace

int32_t FindStoredContract(db::Connection& db, const TBaseDoc& contract,
                           const TObektDB& property, int32_t tenantId) {
  if (tenantId == -1) return -1;
  std::unique_ptr<db::Query> query = db.NewQuery();
  const bool stored = contract.PropertyID != -1;
  query->SetSQL(std::string(kSameContract) +
                (stored ? kOnProperty : kOnSameLookingProperty));
  query->SetInteger("doc_type", contract.DocType);
  query->SetString("nomtxt", contract.NumberText);
  query->SetDateTime("doc_data", contract.DocDate);
  query->SetInteger("tenant", tenantId);
  if (stored) {
    query->SetInteger("imid", contract.PropertyID);
  } else {
    query->SetInteger("nm", property.SettlementID);
    query->SetInteger("nmas", property.MasivNo);
    query->SetString("npar", property.NparText);
    query->SetInteger("nn", property.NN);
    query->SetInteger("ni", property.NI);
    query->SetInteger("loc", property.LocalityID);
    query->SetInteger("jk", property.QuarterID);
    query->SetInteger("street", property.StreetID);
    query->SetString("addrno", property.AddressNo);
    query->SetString("addr", property.Address);
  }
  query->Open();
  return query->Eof() ? -1 : query->FieldAt(0).AsInteger();
}

}  // namespace zrv::contracts
