#include "contracts/ObjectDB.h"

#include <memory>

#include "common/Rounding.h"
#include "common/Text.h"
#include "contracts/AppIdentifier.h"
#include "contracts/StatementText.h"
#include "platform/db/Transaction.h"

namespace zrv::contracts {
namespace {

// im_nmas, im_ni and im_ntp are written as quoted numbers; the database
// converts them.
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

}  // namespace

TObektDB::TObektDB(db::Connection& db) : db_(db) { Clear(); }

void TObektDB::Clear() {
  ID = -1;
  SettlementID = -1;
  MasivNo = 0;
  NparText.clear();
  NN = 0;
  NI = 0;
  RkvText.clear();
  RparText.clear();
  NTP = 0;
  VTP = 0;
  LocalityID = -1;
  QuarterID = -1;
  StreetID = -1;
  Address.clear();
  Area = 0;
  ImType = -1;
  AddressNo.clear();
  Description.clear();
  Borders.clear();
  ImZone = -1;
  ZutType.clear();
}

bool TObektDB::Insert() {
  db::OwnTransaction transaction(db_);
  std::unique_ptr<db::Query> query = db_.NewQuery();
  query->SetSQL(kInsertProperty);
  query->SetInteger("im_nm", SettlementID);
  query->SetInteger("im_nmas", MasivNo);
  query->SetString("im_npar", StorableText("im_npar", NparText));
  query->SetInteger("im_nn", NN);
  query->SetInteger("im_ni", NI);
  query->SetString("im_rkv", StorableText("im_rkv", RkvText));
  query->SetString("im_rpar", StorableText("im_rpar", RparText));
  query->SetInteger("im_ntp", NTP);
  query->SetInteger("im_vtp", VTP);
  query->SetInteger("im_mestnost", LocalityID);
  query->SetInteger("im_jk", QuarterID);
  query->SetInteger("im_nulic", StreetID);
  query->SetString("im_zuttype", StorableText("im_zuttype", ZutType));
  query->SetString("im_address", StorableText("im_address", Address));
  query->SetString("im_area", AmountText(Area));
  query->SetInteger("im_type", ImType);
  query->SetString("im_addressnom", StorableText("im_addressnom", AddressNo));
  query->SetString("im_desc", StorableText("im_desc", Description));
  query->SetString("im_borders", StorableText("im_borders", Borders));
  query->SetInteger("im_zone", ImZone);
  query->SetInteger("im_app", kAppID);
  query->Execute();
  query->SetSQL(kSelectNewId);
  query->Open();
  ID = query->FieldAt(0).AsInteger();
  query->Close();
  transaction.Commit();
  return true;
}

bool TObektDB::HasCadastralId() const {
  return !NparText.empty() &&
         (NparText != "0" || MasivNo != 0 || NN != 0 || NI != 0);
}

int32_t TObektDB::FindByNpar(db::Connection& db, const TObektDB& wanted) {
  if (!wanted.HasCadastralId()) return -1;
  std::unique_ptr<db::Query> query = db.NewQuery();
  query->SetSQL(kSelectByNpar);
  query->SetString("npar", wanted.NparText);
  query->SetInteger("nm", wanted.SettlementID);
  query->SetInteger("nmas", wanted.MasivNo);
  query->SetInteger("nn", wanted.NN);
  query->SetInteger("ni", wanted.NI);
  query->Open();
  return query->Eof() ? -1 : query->FieldByName("im_id").AsInteger();
}

}  // namespace zrv::contracts
