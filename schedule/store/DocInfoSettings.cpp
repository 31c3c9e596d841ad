#include "schedule/store/DocInfoSettings.h"

#include <memory>

namespace zrv::schedule {
namespace {

const char* const kProbeDocuments = "select * from documents where DOC_ID = -1";
const char* const kAddPriceColumn = "DOC_ADDPRICE";

}  // namespace

void DocInfoSettings::Init(db::Connection& connection, const SystemIntReader& readInt) {
  std::unique_ptr<db::Query> query = connection.NewQuery();
  query->SetSQL(kProbeDocuments);
  query->Open();
  hasAddPrice = query->FindField(kAddPriceColumn) != nullptr;
  query->Close();
  setting14015 = readInt ? readInt(kSettingKey, kSettingDefault) : kSettingDefault;
}

}  // namespace zrv::schedule
