#include "contracts/store/RentTypeStore.h"

#include <memory>
#include <string>

namespace zrv::contracts {
namespace {

// The application's rows; the identifier is a number, not a text.
const char* const kSelectRentTypes =
    "select RT_TEXT, RT_TYPE, RT_ID, RT_SROK, RT_DDS, RT_VALUTA,RT_SROK, "
    "RT_RequireFields, "
    "RT_PayDay, RT_LTYPE, RT_LMax, RT_LPercent, RT_Descr, RT_Za, RT_Osnovanie, "
    "RT_ObjType, "
    "RT_TemplType, RT_Smet, RT_NumKind, RT_SGID\n"
    "from renttypes";
const char* const kWhereApp = "\nwhere RT_APP = :app";

int16_t SmallInt(const db::Query& query, const char* column) {
  return static_cast<int16_t>(query.FieldByName(column).AsInteger());
}

TRentTypeRec ReadRentType(const db::Query& query) {
  TRentTypeRec rec;
  rec.ID = query.FieldByName("RT_ID").AsInteger();
  rec.Text = query.FieldByName("RT_TEXT").AsString();
  rec.Srok = SmallInt(query, "RT_SROK");
  rec.DDS = SmallInt(query, "RT_DDS");
  rec.Valuta = SmallInt(query, "RT_VALUTA");
  rec.LType = SmallInt(query, "RT_LTYPE");
  rec.LPercent = query.FieldByName("RT_LPercent").AsFloat();
  rec.LMax = query.FieldByName("RT_LMax").AsFloat();
  rec.PayDay = SmallInt(query, "RT_PayDay");
  rec.RequireFields = query.FieldByName("RT_RequireFields").AsInteger();
  rec.Osnovanie = query.FieldByName("RT_Osnovanie").AsString();
  rec.Descr = query.FieldByName("RT_Descr").AsString();
  rec.Za = query.FieldByName("RT_Za").AsString();
  rec.TemplType = SmallInt(query, "RT_TemplType");
  rec.ObjType = SmallInt(query, "RT_ObjType");
  rec.Smet = query.FieldByName("RT_SMET").AsString() == "T";
  rec.NumKind = SmallInt(query, "RT_NumKind");
  rec.Require0 = IsBitSet(rec.RequireFields, 0);
  rec.Require1 = IsBitSet(rec.RequireFields, 1);
  rec.Require2 = IsBitSet(rec.RequireFields, 2);
  rec.RTType = SmallInt(query, "RT_TYPE");
  rec.Marked = false;
  return rec;
}

}  // namespace

void RentTypeStore::Load(int32_t appId, const std::function<void(TRentTypeRec)>& each) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  std::string sql = kSelectRentTypes;
  if (appId != -1) sql += kWhereApp;
  query->SetSQL(sql);
  if (appId != -1) query->SetInteger("app", appId);
  for (query->Open(); !query->Eof(); query->Next()) each(ReadRentType(*query));
}

}  // namespace zrv::contracts
