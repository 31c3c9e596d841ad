#include "contracts/RentTypes.h"

#include <memory>

#include "common/Text.h"
#include "platform/db/Transaction.h"

namespace zrv::contracts {
namespace {

const char* const kSelectRentTypes =
    "select RT_TEXT, RT_TYPE, RT_ID, RT_SROK, RT_DDS, RT_VALUTA,RT_SROK, "
    "RT_RequireFields, "
    "RT_PayDay, RT_LTYPE, RT_LMax, RT_LPercent, RT_Descr, RT_Za, RT_Osnovanie, "
    "RT_ObjType, "
    "RT_TemplType, RT_Smet, RT_NumKind, RT_SGID\n"
    "from renttypes";
const char* const kWhereApp = "\nwhere RT_APP = ";

const char* const kMsgLoadFailed =
    "Грешка при зареждане на стойности по подразбиране.";

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

bool IsBitSet(int32_t mask, int n) {
  const uint32_t bit = uint32_t{1} << (static_cast<unsigned>(n) % 32);
  return (static_cast<uint32_t>(mask) & bit) == bit;
}

void RentTypeTable::LoadRentTypes(db::Connection& db, int32_t appId,
                                  ui::Messages& messages) {
  entries_.clear();
  try {
    db::OwnTransaction transaction(db);
    std::unique_ptr<db::Query> query = db.NewQuery();
    std::string sql = kSelectRentTypes;
    if (appId != -1) sql += kWhereApp + std::to_string(appId);
    query->SetSQL(sql);
    try {
      query->Open();
      for (; !query->Eof(); query->Next())
        entries_.push_back(ReadRentType(*query));
    } catch (...) {
      // The reading transaction is committed even when reading failed; then the
      // error is shown.
      transaction.Commit();
      throw;
    }
    transaction.Commit();
  } catch (const std::exception& e) {
    messages.ShowMessage(std::string(kMsgLoadFailed) + "\n" + e.what());
  }
}

int RentTypeTable::FindRentType(const std::string& text) const {
  const std::string wanted = UpperCase(text);
  for (size_t i = 0; i < entries_.size(); ++i)
    if (UpperCase(entries_[i].Text) == wanted) return static_cast<int>(i);
  return -1;
}

}  // namespace zrv::contracts
