#include "contracts/store/ContractStore.h"

#include <cmath>
#include <memory>

#include "common/Dates.h"
#include "common/Rounding.h"
#include "contracts/StatementText.h"

namespace zrv::contracts {
namespace {

// The contract row. Its values are parameters, so one prepared statement
// serves every contract of a run; dates and amounts go in as the
// day.month.year and two-decimal texts the server converts to the column.
const char* const kInsertDocument =
    "insert into Documents (doc_type, doc_nomtxt, doc_data, da_rf1, DA_SF2, "
    "DOC_COMENT, "
    "DOC_COMENT2, DA_OBJTYPE, doc_area, doc_price, da_dds, da_valuta, "
    "da_ltype, da_lpercent, "
    "da_rf2, da_if1, doc_datastart, doc_datastop, doc_imotid, doc_podsad, "
    "doc_addnum, "
    "doc_addtext, doc_app, doc_payday, doc_free, da_sf6, doc_userid, "
    "doc_typetext, "
    "doc_handrentinfo, da_objname, doc_valuecalcid, da_if4, doc_initsum)\n"
    "values (:doc_type, :doc_nomtxt, :doc_data, :da_rf1, :da_sf2, "
    ":doc_coment, :doc_coment2, :da_objtype, :doc_area, :doc_price, :da_dds, "
    ":da_valuta, :da_ltype, :da_lpercent, :da_rf2, :da_if1, :doc_datastart, "
    ":doc_datastop, :doc_imotid, :doc_podsad, :doc_addnum, :doc_addtext, "
    ":doc_app, :doc_payday, :doc_free, :da_sf6, :doc_userid, :doc_typetext, "
    ":doc_handrentinfo, :da_objname, :doc_valuecalcid, :da_if4, :doc_initsum)";
const char* const kSelectNewDocId = "select max(doc_id) from documents";
const char* const kInsertFirstAnnex =
    "insert into Anecs "
    "(AN_id,An_NUM,AN_Data,AN_Price,AN_DTStart,AN_DTStop,AN_COMENT, "
    "AN_LType, AN_LPercent, AN_LMax, AN_DDS, AN_Valuta, AN_PayDay, "
    "AN_FreeDate)\n"
    "values (:DOC_ID, 1, :an_data, :an_price, :an_dtstart, :an_dtstop, \"\", "
    ":an_ltype, :an_lpercent, :an_lmax, :an_dds, :an_valuta, :an_payday, "
    ":an_freedate)";

// The columns a rewrite changes; the values are parameters as in the insert.
const char* const kUpdateDocument =
    "update documents set doc_nomtxt = :doc_nomtxt, doc_data = :doc_data, "
    "da_rf1 = :da_rf1, DA_SF2 = :da_sf2, DOC_COMENT = :doc_coment, "
    "DOC_COMENT2 = :doc_coment2, DA_OBJTYPE = :da_objtype, doc_area = "
    ":doc_area, doc_price = :doc_price, da_dds = :da_dds, da_valuta = "
    ":da_valuta, da_ltype = :da_ltype, da_lpercent = :da_lpercent, da_rf2 = "
    ":da_rf2, da_if1 = :da_if1, doc_datastart = :doc_datastart, doc_datastop "
    "= :doc_datastop, doc_podsad = :doc_podsad, doc_addnum = :doc_addnum, "
    "doc_addtext = :doc_addtext, doc_free = :doc_free, doc_typetext = "
    ":doc_typetext, doc_handrentinfo = :doc_handrentinfo, da_objname = "
    ":da_objname, doc_valuecalcid = :doc_valuecalcid, doc_payday = "
    ":doc_payday, da_if4 = :da_if4\n"
    "where DOC_ID = :doc_id";
// Annex 1 is dated the moment it is rewritten ("NOW", which the server reads
// as the current date and time).
const char* const kUpdateFirstAnnex =
    "update Anecs set AN_Data = :an_data, AN_Price = :an_price, AN_DTStart = "
    ":an_dtstart, AN_COMENT = \"\", AN_LType = :an_ltype, AN_LPercent = "
    ":an_lpercent, AN_LMax = :an_lmax, AN_DDS = :an_dds, AN_Valuta = "
    ":an_valuta, AN_PayDay = :an_payday, AN_FreeDate = :an_freedate\n"
    "where an_id = :an_id and an_num = 1";
const char* const kNow = "NOW";
const char* const kSelectLatestAnnex = "select max(an_num) from anecs where an_id = :anid";
const char* const kCloseLatestAnnex =
    "UPDATE ANECS SET AN_DTSTOP = :dtstop WHERE ( (AN_ID = :anid) AND (AN_NUM "
    "= :annum) )";

const char* const kSelectDocument = "select * from documents where doc_id = :doc_id";
const char* const kSelectTenant =
    "select m.per_name, m.per_egn, j.per_name permolname from persons m left "
    "join persons j on (m.per_mol = j.per_id) where m.per_id = :per_id";
const char* const kSelectAnnexes = "select * from anecs where an_id = :an_id order by an_num";

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
const char* const kSelectTerms =
    "SELECT doc_datastart, doc_datastop, doc_price FROM documents\n"
    "WHERE doc_id = :doc_id";
const char* const kSelectStoredAnnexes =
    "SELECT an_num, an_dtstart, an_price FROM anecs WHERE an_id = :doc_id\n"
    "ORDER BY an_num";
const char* const kSelectPropertyByDocNumber =
    "SELECT doc_imotid FROM documents WHERE doc_nomtxt = :nomtxt and doc_type "
    "in (8,10,12)";

const char* const kClaimKey = "INSERT INTO contract_keys (ck_key) VALUES (:ck_key)";
const char* const kTieKey = "UPDATE contract_keys SET ck_docid = :docid WHERE ck_key = :ck_key";
const char* const kCountTables =
    "SELECT COUNT(*) FROM rdb$relations WHERE rdb$relation_name IN "
    "(:first, :second)";

const char* const kFlagFalse = "F";

// Column readers that give the empty value when the query has no row.
class RowReader {
 public:
  explicit RowReader(const db::Query& query) : query_(query) {}
  std::string Text(const char* column) const {
    return query_.Eof() ? std::string() : query_.FieldByName(column).AsString();
  }
  int32_t Int(const char* column) const {
    return query_.Eof() ? 0 : query_.FieldByName(column).AsInteger();
  }
  double Float(const char* column) const {
    return query_.Eof() ? 0.0 : query_.FieldByName(column).AsFloat();
  }
  TDate Date(const char* column) const {
    return query_.Eof() ? 0.0 : query_.FieldByName(column).AsDateTime();
  }

 private:
  const db::Query& query_;
};

// The values a row's insert and rewrite share.
void BindCommonValues(db::Query& query, const TBaseDoc& c) {
  query.SetString("doc_nomtxt", StorableText("doc_nomtxt", c.NumberText));
  query.SetString("doc_data", FormatDMY(c.DocDate));
  query.SetInteger("da_rf1", c.RentTypeID);
  query.SetString("da_sf2", StorableText("DA_SF2", c.SF2Text));
  query.SetString("doc_coment", StorableText("DOC_COMENT", c.Comment));
  query.SetString("doc_coment2", StorableText("DOC_COMENT2", c.Purpose));
  query.SetString("da_objtype", StorableText("DA_OBJTYPE", c.ObjectTypeText));
  query.SetString("doc_area", AmountText(c.Area));
  query.SetString("doc_price", AmountText(c.MonthPrice));
  query.SetInteger("da_dds", c.VATCode);
  query.SetInteger("da_valuta", c.CurrencyCode);
  query.SetInteger("da_ltype", c.InterestType);
  query.SetString("da_lpercent", AmountText(c.InterestPercent));
  query.SetString("da_rf2", AmountText(c.InterestMax));
  query.SetInteger("da_if1", c.TenantID);
  query.SetString("doc_datastart", FormatDMY(c.StartDate));
  query.SetString("doc_datastop", FormatDMY(c.StopDate));
  query.SetString("doc_podsad", c.PodsadFlag);
  query.SetString("doc_addnum", c.AddNum);
  query.SetString("doc_addtext", StorableText("doc_addtext", c.AddText));
  query.SetInteger("doc_payday", c.PayDay);
  query.SetString("doc_free", c.FreeFlag);
  query.SetString("doc_typetext", c.TypeText);
  query.SetString("doc_handrentinfo", c.HandRentInfo);
  query.SetString("da_objname", c.ObjectName);
  query.SetInteger("doc_valuecalcid", c.ValueCalcID);
  query.SetInteger("da_if4", c.IF4Value);
}

// Annex 1's terms, shared by its insert and its rewrite.
void BindFirstAnnexTerms(db::Query& query, const TBaseDoc& c) {
  query.SetString("an_price", AmountText(c.MonthPrice));
  query.SetString("an_dtstart", FormatDMY(c.StartDate));
  query.SetInteger("an_ltype", c.InterestType);
  query.SetString("an_lpercent", AmountText(c.InterestPercent));
  query.SetString("an_lmax", AmountText(c.InterestMax));
  query.SetInteger("an_dds", c.VATCode);
  query.SetInteger("an_valuta", c.CurrencyCode);
  query.SetInteger("an_payday", c.PayDay);
  query.SetString("an_freedate", FormatDMY(c.StartDate));
}

}  // namespace

int32_t ContractStore::Insert(const TBaseDoc& c, int32_t userId) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kInsertDocument);
  BindCommonValues(*query, c);
  query->SetInteger("doc_type", c.DocType);
  query->SetInteger("doc_imotid", c.PropertyID);
  query->SetInteger("doc_app", c.AppID);
  query->SetString("da_sf6", c.SF6Text);
  query->SetInteger("doc_userid", userId);
  query->SetString("doc_initsum", AmountText(c.InitialSum));
  query->Execute();
  query->SetSQL(kSelectNewDocId);
  query->Open();
  return query->FieldAt(0).AsInteger();
}

void ContractStore::InsertFirstAnnex(const TBaseDoc& c) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kInsertFirstAnnex);
  query->SetInteger("DOC_ID", c.DocID);
  query->SetString("an_data", FormatDMY(c.DocDate));
  query->SetString("an_dtstop", FormatDMY(c.StopDate));
  BindFirstAnnexTerms(*query, c);
  query->Execute();
}

void ContractStore::Update(const TBaseDoc& c) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kUpdateDocument);
  BindCommonValues(*query, c);
  query->SetInteger("doc_id", c.DocID);
  query->Execute();

  query->SetSQL(kUpdateFirstAnnex);
  query->SetString("an_data", kNow);
  BindFirstAnnexTerms(*query, c);
  query->SetInteger("an_id", c.DocID);
  query->Execute();

  query->SetSQL(kSelectLatestAnnex);
  query->SetInteger("anid", c.DocID);
  query->Open();
  const int32_t latest = query->FieldAt(0).AsInteger();
  query->Close();
  // The contract's stop date always closes its latest annex.
  query->SetSQL(kCloseLatestAnnex);
  query->SetDateTime("dtstop", c.StopDate);
  query->SetInteger("anid", c.DocID);
  query->SetInteger("annum", latest);
  query->Execute();
}

void ContractStore::LoadHeader(int32_t id, TBaseDoc& c) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectDocument);
  query->SetInteger("doc_id", id);
  query->Open();
  const RowReader row(*query);
  c.DocID = row.Int("DOC_ID");
  c.DocType = static_cast<int16_t>(row.Int("DOC_TYPE"));
  c.AppID = static_cast<int16_t>(row.Int("DOC_APP"));
  c.RentTypeID = row.Int("da_rf1");
  c.SF2Text = row.Text("da_sf2");
  c.Comment = row.Text("doc_coment");
  c.Purpose = row.Text("doc_coment2");
  c.NumberText = row.Text("doc_nomtxt");
  c.DocDate = row.Date("DOC_DATA");
  c.MonthPrice = row.Float("DOC_PRICE");
  c.InterestPercent = row.Float("DA_LPERCENT");
  c.Area = row.Float("DOC_AREA");
  c.InterestType = static_cast<int16_t>(row.Int("DA_LTYPE"));
  c.VATCode = static_cast<int16_t>(row.Int("DA_DDS"));
  c.CurrencyCode = static_cast<int16_t>(row.Int("DA_VALUTA"));
  c.ObjectTypeText = row.Text("da_objtype");
  c.ObjectName = row.Text("da_objname");
  c.InterestMax = row.Float("da_rf2");
  c.PropertyID = row.Int("DOC_IMOTID");
  c.TenantID = row.Int("DA_IF1");
  c.StartDate = row.Date("DOC_DATASTART");
  c.StopDate = row.Date("DOC_DATASTOP");
  c.PodsadFlag = row.Text("DOC_PODSAD");
  c.ValueCalcID = row.Int("DOC_VALUECALCID");
  c.IF4Value = row.Int("DA_IF4");
  // A string, not the pointer: gcc 12 warns falsely (-Wrestrict) on assigning the pointer here.
  if (c.PodsadFlag.empty()) c.PodsadFlag = std::string(kFlagFalse);
  c.AddNum = row.Text("DOC_ADDNUM");
  c.AddText = row.Text("DOC_ADDTEXT");
  c.PayDay = static_cast<uint16_t>(row.Int("DOC_PAYDAY"));
  c.InitialSum = row.Float("DOC_INITSUM");
  c.FreeFlag = row.Text("DOC_FREE");
  c.TypeText = row.Text("DOC_TYPETEXT");
  c.HandRentInfo = row.Text("DOC_HANDRENTINFO");
}

void ContractStore::LoadTenantNames(TBaseDoc& c) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectTenant);
  query->SetInteger("per_id", c.TenantID);
  query->Open();
  const RowReader row(*query);
  c.TenantName = row.Text("PER_NAME");
  c.TenantEGN = row.Text("PER_EGN");
  c.TenantMOLName = row.Text("PERMOLNAME");
}

void ContractStore::LoadAnnexes(int32_t docId, schedule::TAnecses& annexes) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectAnnexes);
  query->SetInteger("an_id", docId);
  query->Open();
  annexes.LoadFromQuery(*query);
}

int32_t ContractStore::FindStored(const TBaseDoc& contract, const TObektDB& property,
                                  int32_t tenantId) const {
  if (tenantId == -1) return -1;
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  const bool stored = contract.PropertyID != -1;
  query->SetSQL(std::string(kSameContract) + (stored ? kOnProperty : kOnSameLookingProperty));
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

StoredTerms ContractStore::LoadTerms(int32_t docId) const {
  StoredTerms terms;
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectTerms);
  query->SetInteger("doc_id", docId);
  query->Open();
  if (query->Eof()) return terms;
  terms.start = std::trunc(query->FieldAt(0).AsDateTime());
  terms.stop = std::trunc(query->FieldAt(1).AsDateTime());
  terms.price = query->FieldAt(2).AsFloat();
  query->SetSQL(kSelectStoredAnnexes);
  query->SetInteger("doc_id", docId);
  for (query->Open(); !query->Eof(); query->Next()) {
    terms.annexes.push_back({query->FieldAt(0).AsInteger(),
                             std::trunc(query->FieldAt(1).AsDateTime()),
                             query->FieldAt(2).AsFloat()});
  }
  return terms;
}

int32_t ContractStore::PropertyOfDocument(const std::string& number) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectPropertyByDocNumber);
  query->SetString("nomtxt", number);
  query->Open();
  if (query->RecordCount() == 0) return -1;
  query->Last();
  return query->FieldByName("doc_imotid").AsInteger();
}

bool ContractStore::ClaimKey(const std::string& key) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kClaimKey);
  query->SetString("ck_key", key);
  try {
    query->Execute();
  } catch (const db::DuplicateKeyError&) {
    return false;
  }
  return true;
}

void ContractStore::TieKey(const std::string& key, int32_t docId) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kTieKey);
  query->SetInteger("docid", docId);
  query->SetString("ck_key", key);
  query->Execute();
}

namespace {

int CountTables(db::Transaction& tx, const char* first, const char* second) {
  std::unique_ptr<db::Query> query = tx.NewQuery();
  query->SetSQL(kCountTables);
  query->SetString("first", first);
  query->SetString("second", second);
  query->Open();
  return query->FieldAt(0).AsInteger();
}

}  // namespace

bool HasContractKeys(db::Transaction& tx) {
  return CountTables(tx, "CONTRACT_KEYS", "CONTRACT_KEYS") > 0;
}

bool HasRegisterKeys(db::Transaction& tx) {
  return CountTables(tx, "PERSON_KEYS", "PROPERTY_KEYS") == 2;
}

}  // namespace zrv::contracts
