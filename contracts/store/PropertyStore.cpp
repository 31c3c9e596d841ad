#include "contracts/store/PropertyStore.h"

#include <memory>

#include "common/Rounding.h"
#include "contracts/AppIdentifier.h"
#include "contracts/StatementText.h"

namespace zrv::contracts {
namespace {

// Its values are parameters, so one prepared statement serves every property
// of a run; the area goes in as its two-decimal text, converted by the server.
const char* const kInsertProperty =
    "insert into Imot (im_nm, im_nmas, im_npar, im_nn, im_ni, im_rkv, im_rpar, "
    "im_ntp, im_vtp,\n"
    " im_mestnost, im_jk, im_nulic, im_zuttype, im_address, im_area, im_type, "
    "im_addressnom,\n"
    " im_desc, im_borders, im_zone, im_app)\n"
    "values (:im_nm, :im_nmas, :im_npar, :im_nn, :im_ni, :im_rkv, :im_rpar,\n"
    " :im_ntp, :im_vtp, :im_mestnost, :im_jk, :im_nulic, :im_zuttype,\n"
    " :im_address, :im_area, :im_type, :im_addressnom, :im_desc, :im_borders,\n"
    " :im_zone, :im_app)";
const char* const kSelectNewId = "select max(im_id) from imot";
// The same settlement and every group of the cadastral identifier; groups a
// property was stored without count as 0.
const char* const kSelectByNpar =
    "SELECT im_id FROM imot WHERE im_npar = :npar AND im_nm = :nm\n"
    " AND COALESCE(im_nmas, 0) = :nmas AND COALESCE(im_nn, 0) = :nn\n"
    " AND COALESCE(im_ni, 0) = :ni ORDER BY im_id";
const char* const kClaimKey = "INSERT INTO property_keys (pk_key, pk_imid) VALUES (:key, :imid)";
const char* const kSelectZone = "SELECT IM_ZONE FROM IMOT WHERE IM_ID = :imid";

}  // namespace

int32_t PropertyStore::Insert(const TObektDB& p) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kInsertProperty);
  query->SetInteger("im_nm", p.SettlementID);
  query->SetInteger("im_nmas", p.MasivNo);
  query->SetString("im_npar", StorableText("im_npar", p.NparText));
  query->SetInteger("im_nn", p.NN);
  query->SetInteger("im_ni", p.NI);
  query->SetString("im_rkv", StorableText("im_rkv", p.RkvText));
  query->SetString("im_rpar", StorableText("im_rpar", p.RparText));
  query->SetInteger("im_ntp", p.NTP);
  query->SetInteger("im_vtp", p.VTP);
  query->SetInteger("im_mestnost", p.LocalityID);
  query->SetInteger("im_jk", p.QuarterID);
  query->SetInteger("im_nulic", p.StreetID);
  query->SetString("im_zuttype", StorableText("im_zuttype", p.ZutType));
  query->SetString("im_address", StorableText("im_address", p.Address));
  query->SetString("im_area", AmountText(p.Area));
  query->SetInteger("im_type", p.ImType);
  query->SetString("im_addressnom", StorableText("im_addressnom", p.AddressNo));
  query->SetString("im_desc", StorableText("im_desc", p.Description));
  query->SetString("im_borders", StorableText("im_borders", p.Borders));
  query->SetInteger("im_zone", p.ImZone);
  query->SetInteger("im_app", kAppID);
  query->Execute();
  query->SetSQL(kSelectNewId);
  query->Open();
  return query->FieldAt(0).AsInteger();
}

int32_t PropertyStore::FindByCadastralId(const TObektDB& wanted) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectByNpar);
  query->SetString("npar", wanted.NparText);
  query->SetInteger("nm", wanted.SettlementID);
  query->SetInteger("nmas", wanted.MasivNo);
  query->SetInteger("nn", wanted.NN);
  query->SetInteger("ni", wanted.NI);
  query->Open();
  return query->Eof() ? -1 : query->FieldByName("im_id").AsInteger();
}

void PropertyStore::ClaimKey(const std::string& key, int32_t propertyId) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kClaimKey);
  query->SetString("key", key);
  query->SetInteger("imid", propertyId);
  query->Execute();
}

int32_t PropertyStore::Zone(int32_t propertyId) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectZone);
  query->SetInteger("imid", propertyId);
  query->Open();
  return query->Eof() ? 0 : query->FieldAt(0).AsInteger();
}

}  // namespace zrv::contracts
