#include "contracts/BaseDoc.h"

#include <cmath>
#include <memory>

#include "common/Rounding.h"
#include "common/Text.h"
#include "contracts/AppIdentifier.h"
#include "contracts/StatementText.h"
#include "platform/db/Transaction.h"

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

const char* const kUpdateDocument =
    "update documents set doc_nomtxt = \"%s\", doc_data = \"%s\", da_rf1 = %d, "
    "DA_SF2 = \"%s\", "
    "DOC_COMENT = \"%s\", DOC_COMENT2 = \"%s\", DA_OBJTYPE = \"%s\", doc_area "
    "= %s, "
    "doc_price = %s, da_dds = %d, da_valuta = %d, da_ltype = %d, da_lpercent "
    "= %s, "
    "da_rf2 = %s, da_if1 = %d, doc_datastart = \"%s\", doc_datastop = "
    "\"%s\", "
    "doc_podsad = \"%s\", doc_addnum = \"%s\", doc_addtext = \"%s\", doc_free "
    "= \"%s\", "
    "doc_typetext = \"%s\", doc_handrentinfo = \"%s\", da_objname = \"%s\", "
    "doc_valuecalcid = %d, doc_payday = %d, da_if4 = %d\n"
    "where DOC_ID = %d";
const char* const kUpdateFirstAnnex =
    "update Anecs set AN_Data = \"NOW\", AN_Price = %s, AN_DTStart = \"%s\", "
    "AN_COMENT = \"\", "
    "AN_LType = %d, AN_LPercent = %s, AN_LMax = %s, AN_DDS = %d, AN_Valuta "
    "= %d, "
    "AN_PayDay = %d, AN_FreeDate = \"%s\"\n"
    "where an_id = %d and an_num = 1";
const char* const kSelectLatestAnnex =
    "select max(an_num) from anecs where an_id = :anid";
const char* const kCloseLatestAnnex =
    "UPDATE ANECS SET AN_DTSTOP = :dtstop WHERE ( (AN_ID = :anid) AND (AN_NUM "
    "= :annum) )";

const char* const kSelectDocument = "select * from documents where doc_id = %d";
const char* const kSelectTenant =
    "select m.per_name, m.per_egn, j.per_name permolname from persons m left "
    "join persons j on "
    "(m.per_mol = j.per_id) where m.per_id = %d";
const char* const kSelectZone = "SELECT IM_ZONE FROM IMOT WHERE IM_ID = :imid";
const char* const kSelectAnnexes =
    "select * from anecs where an_id = %d order by an_num";
const char* const kSelectCharacteristics =
    "SELECT CH_ID, CD_VALUE, CD_NO_USE_VALUE, CD_CHECKED\n"
    "FROM CHARACTERISTICS\n"
    "LEFT JOIN CHARACTERISTICS_DOC ON CD_CHID = CH_ID\n"
    "WHERE CD_DOCID = :id";

const char* const kFlagTrue = "T";
const char* const kFlagFalse = "F";

void Run(db::Connection& db, const std::string& sql) {
  std::unique_ptr<db::Query> query = db.NewQuery();
  query->SetSQL(sql);
  query->Execute();
}

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

}  // namespace

TBaseDoc::TBaseDoc(db::Connection& db,
                   TCharacteristicsCommonTasks& characteristics,
                   TPHPCommonTasks& calculator, int32_t currentUserId)
    : db_(db),
      characteristics_(characteristics),
      calculator_(calculator),
      currentUserId_(currentUserId) {
  Clear();
}

void TBaseDoc::Clear() {
  RentTypeID = -1;
  DocType = -1;
  AppID = kAppID;
  DocID = -1;
  SF2Text.clear();
  Purpose.clear();
  Comment.clear();
  NumberText.clear();
  DocDate = 0;
  MonthPrice = 0;
  InterestPercent = 0;
  Area = 0;
  InterestType = -1;
  VATCode = -1;
  CurrencyCode = -1;
  ObjectTypeText.clear();
  ObjectName.clear();
  InterestMax = 0;
  PropertyID = -1;
  TenantID = -1;
  StartDate = 0;
  StopDate = 0;
  TenantName.clear();
  TenantEGN.clear();
  TenantMOLName.clear();
  PayDay = 0;
  InitialSum = 0;
  FreeFlag = kFlagFalse;
  Zone = -1;
  SF6Text.clear();
  IF4Value = -1;
  PodsadFlag.clear();
  AddNum.clear();
  AddText.clear();
  TypeText.clear();
  HandRentInfo = kFlagFalse;
  ValueCalcID = -1;
  WriteFirstAnnex = true;
  ExtraDate = 0;
}

// ---- storing ----

void TBaseDoc::InsertRow() {
  std::unique_ptr<db::Query> query = db_.NewQuery();
  query->SetSQL(kInsertDocument);
  query->SetInteger("doc_type", DocType);
  query->SetString("doc_nomtxt", StorableText("doc_nomtxt", NumberText));
  query->SetString("doc_data", FormatDMY(DocDate));
  query->SetInteger("da_rf1", RentTypeID);
  query->SetString("da_sf2", StorableText("DA_SF2", SF2Text));
  query->SetString("doc_coment", StorableText("DOC_COMENT", Comment));
  query->SetString("doc_coment2", StorableText("DOC_COMENT2", Purpose));
  query->SetString("da_objtype", StorableText("DA_OBJTYPE", ObjectTypeText));
  query->SetString("doc_area", AmountText(Area));
  query->SetString("doc_price", AmountText(MonthPrice));
  query->SetInteger("da_dds", VATCode);
  query->SetInteger("da_valuta", CurrencyCode);
  query->SetInteger("da_ltype", InterestType);
  query->SetString("da_lpercent", AmountText(InterestPercent));
  query->SetString("da_rf2", AmountText(InterestMax));
  query->SetInteger("da_if1", TenantID);
  query->SetString("doc_datastart", FormatDMY(StartDate));
  query->SetString("doc_datastop", FormatDMY(StopDate));
  query->SetInteger("doc_imotid", PropertyID);
  query->SetString("doc_podsad", PodsadFlag);
  query->SetString("doc_addnum", AddNum);
  query->SetString("doc_addtext", StorableText("doc_addtext", AddText));
  query->SetInteger("doc_app", AppID);
  query->SetInteger("doc_payday", PayDay);
  query->SetString("doc_free", FreeFlag);
  query->SetString("da_sf6", SF6Text);
  query->SetInteger("doc_userid", currentUserId_);
  query->SetString("doc_typetext", TypeText);
  query->SetString("doc_handrentinfo", HandRentInfo);
  query->SetString("da_objname", ObjectName);
  query->SetInteger("doc_valuecalcid", ValueCalcID);
  query->SetInteger("da_if4", IF4Value);
  query->SetString("doc_initsum", AmountText(InitialSum));
  query->Execute();
}

std::string TBaseDoc::UpdateText() const {
  return Format(
      kUpdateDocument, DoubleQuotes(NumberText).c_str(),
      FormatDMY(DocDate).c_str(), RentTypeID, DoubleQuotes(SF2Text).c_str(),
      DoubleQuotes(Comment).c_str(), DoubleQuotes(Purpose).c_str(),
      DoubleQuotes(ObjectTypeText).c_str(), AmountText(Area).c_str(),
      AmountText(MonthPrice).c_str(), VATCode, CurrencyCode, InterestType,
      AmountText(InterestPercent).c_str(), AmountText(InterestMax).c_str(),
      TenantID, FormatDMY(StartDate).c_str(), FormatDMY(StopDate).c_str(),
      DoubleQuotes(PodsadFlag).c_str(), DoubleQuotes(AddNum).c_str(),
      DoubleQuotes(AddText).c_str(), DoubleQuotes(FreeFlag).c_str(),
      DoubleQuotes(TypeText).c_str(), DoubleQuotes(HandRentInfo).c_str(),
      DoubleQuotes(ObjectName).c_str(), ValueCalcID, PayDay, IF4Value, DocID);
}

void TBaseDoc::InsertFirstAnnex() {
  std::unique_ptr<db::Query> query = db_.NewQuery();
  query->SetSQL(kInsertFirstAnnex);
  query->SetInteger("DOC_ID", DocID);
  query->SetString("an_data", FormatDMY(DocDate));
  query->SetString("an_price", AmountText(MonthPrice));
  query->SetString("an_dtstart", FormatDMY(StartDate));
  query->SetString("an_dtstop", FormatDMY(StopDate));
  query->SetInteger("an_ltype", InterestType);
  query->SetString("an_lpercent", AmountText(InterestPercent));
  query->SetString("an_lmax", AmountText(InterestMax));
  query->SetInteger("an_dds", VATCode);
  query->SetInteger("an_valuta", CurrencyCode);
  query->SetInteger("an_payday", PayDay);
  query->SetString("an_freedate", FormatDMY(StartDate));
  query->Execute();
}

bool TBaseDoc::Insert() {
  db::OwnTransaction transaction(db_);
  InsertRow();
  {
    std::unique_ptr<db::Query> query = db_.NewQuery();
    query->SetSQL(kSelectNewDocId);
    query->Open();
    DocID = query->FieldAt(0).AsInteger();
    query->Close();
  }
  if (WriteFirstAnnex) InsertFirstAnnex();
  if (DocType > 0) SaveCharacteristics();
  transaction.Commit();
  return true;
}

void TBaseDoc::UpdateAnnexes() {
  Run(db_, Format(kUpdateFirstAnnex, AmountText(MonthPrice).c_str(),
                  FormatDMY(StartDate).c_str(), InterestType,
                  AmountText(InterestPercent).c_str(),
                  AmountText(InterestMax).c_str(), VATCode, CurrencyCode,
                  PayDay, FormatDMY(StartDate).c_str(), DocID));
  std::unique_ptr<db::Query> query = db_.NewQuery();
  query->SetSQL(kSelectLatestAnnex);
  query->SetInteger("anid", DocID);
  query->Open();
  const int32_t latest = query->FieldAt(0).AsInteger();
  query->Close();
  // The contract's stop date always closes its latest annex.
  query->SetSQL(kCloseLatestAnnex);
  query->SetDateTime("dtstop", StopDate);
  query->SetInteger("anid", DocID);
  query->SetInteger("annum", latest);
  query->Execute();
}

bool TBaseDoc::Update(int32_t id) {
  DocID = id;
  db::OwnTransaction transaction(db_);
  Run(db_, UpdateText());
  UpdateAnnexes();
  if (DocType > 0) SaveCharacteristics();
  transaction.Commit();
  return true;
}

void TBaseDoc::SaveCharacteristics() {
  characteristics_.DeleteDocCharacteristics(DocID);
  for (const TCharacteristic& entry : characteristics_.Entries())
    characteristics_.InsertDocCharacteristic(DocID, entry.CH_ID);
  characteristics_.LoadCharacteristicDefaults();
}

// ---- loading ----

void TBaseDoc::ReadHeader(int32_t id) {
  std::unique_ptr<db::Query> query = db_.NewQuery();
  query->SetSQL(Format(kSelectDocument, id));
  query->Open();
  const RowReader row(*query);
  DocID = row.Int("DOC_ID");
  DocType = static_cast<int16_t>(row.Int("DOC_TYPE"));
  AppID = static_cast<int16_t>(row.Int("DOC_APP"));
  RentTypeID = row.Int("da_rf1");
  SF2Text = row.Text("da_sf2");
  Comment = row.Text("doc_coment");
  Purpose = row.Text("doc_coment2");
  NumberText = row.Text("doc_nomtxt");
  DocDate = row.Date("DOC_DATA");
  MonthPrice = row.Float("DOC_PRICE");
  InterestPercent = row.Float("DA_LPERCENT");
  Area = row.Float("DOC_AREA");
  InterestType = static_cast<int16_t>(row.Int("DA_LTYPE"));
  VATCode = static_cast<int16_t>(row.Int("DA_DDS"));
  CurrencyCode = static_cast<int16_t>(row.Int("DA_VALUTA"));
  ObjectTypeText = row.Text("da_objtype");
  ObjectName = row.Text("da_objname");
  InterestMax = row.Float("da_rf2");
  PropertyID = row.Int("DOC_IMOTID");
  TenantID = row.Int("DA_IF1");
  StartDate = row.Date("DOC_DATASTART");
  StopDate = row.Date("DOC_DATASTOP");
  PodsadFlag = row.Text("DOC_PODSAD");
  ValueCalcID = row.Int("DOC_VALUECALCID");
  IF4Value = row.Int("DA_IF4");
  if (PodsadFlag.empty()) PodsadFlag = kFlagFalse;
  AddNum = row.Text("DOC_ADDNUM");
  AddText = row.Text("DOC_ADDTEXT");
  PayDay = static_cast<uint16_t>(row.Int("DOC_PAYDAY"));
  InitialSum = row.Float("DOC_INITSUM");
  FreeFlag = row.Text("DOC_FREE");
  TypeText = row.Text("DOC_TYPETEXT");
  HandRentInfo = row.Text("DOC_HANDRENTINFO");
  query->Close();
}

void TBaseDoc::ReadTenant() {
  std::unique_ptr<db::Query> query = db_.NewQuery();
  query->SetSQL(Format(kSelectTenant, TenantID));
  query->Open();
  const RowReader row(*query);
  TenantName = row.Text("PER_NAME");
  TenantEGN = row.Text("PER_EGN");
  TenantMOLName = row.Text("PERMOLNAME");
  query->Close();
}

void TBaseDoc::ReadZone() {
  std::unique_ptr<db::Query> query = db_.NewQuery();
  query->SetSQL(kSelectZone);
  query->SetInteger("imid", PropertyID);
  query->Open();
  Zone = query->Eof() ? 0 : query->FieldAt(0).AsInteger();
  query->Close();
}

void TBaseDoc::ReadAnnexes() {
  std::unique_ptr<db::Query> query = db_.NewQuery();
  query->SetSQL(Format(kSelectAnnexes, DocID));
  query->Open();
  Annexes.LoadFromQuery(*query);
  query->Close();
}

void TBaseDoc::LoadByID(int32_t id) {
  Clear();
  ReadHeader(id);
  ReadTenant();
  ReadZone();
  ReadAnnexes();
  if (DocType > 0) LoadCharacteristics();
}

void TBaseDoc::LoadCharacteristics() {
  std::unique_ptr<db::Query> query = db_.NewQuery();
  query->SetSQL(kSelectCharacteristics);
  query->SetInteger("id", DocID);
  query->Open();
  for (; !query->Eof(); query->Next()) {
    const int32_t chId = query->FieldByName("CH_ID").AsInteger();
    characteristics_.SetCharChecked(
        chId, query->FieldByName("CD_CHECKED").AsString() == kFlagTrue);
    characteristics_.SetCharValue(chId,
                                  query->FieldByName("CD_VALUE").AsString());
    characteristics_.SetCharNoUseValue(
        chId, query->FieldByName("CD_NO_USE_VALUE").AsString());
  }
  query->Close();
}

// ---- the calculator ----

void TBaseDoc::PublishCalcValues() {
  if (!calculator_.HasCalculator()) return;
  int months = 0, days = 0;
  MonthsAndDays(StartDate, StopDate, months, days);
  const auto allDays = static_cast<int64_t>(std::trunc(StopDate - StartDate));
  calculator_.SetCalcValue("months", std::to_string(months));
  calculator_.SetCalcValue("days", std::to_string(days));
  calculator_.SetCalcValue("allDays", std::to_string(allDays));
  calculator_.SetCalcValue("docnum", NumberText);
  calculator_.SetCalcValue("purpose", Purpose);
  calculator_.SetCalcValue("out_monthprice", Format("%.15g", MonthPrice));
  calculator_.SetCalcValue("area", Format("%.15g", Area));
}

}  // namespace zrv::contracts
