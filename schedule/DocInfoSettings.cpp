#include "schedule/DocInfoSettings.h"

#include <memory>

namespace zrv::schedule {
namespace {

const char* const kProbeDocuments = "select * from documents where DOC_ID = -1";
const char* const kAddPriceColumn = "DOC_ADDPRICE";
const char* const kMsgNotInitialized =
    "Модулът на погасителните планове няма връзка с БД.";

}  // namespace

db::Connection* DocInfoSettings::connection_ = nullptr;
bool DocInfoSettings::hasAddPrice_ = false;
int32_t DocInfoSettings::setting14015_ = DocInfoSettings::kSettingDefault;

void DocInfoSettings::Init(db::Connection& connection,
                           const SystemIntReader& readInt) {
  connection_ = &connection;
  std::unique_ptr<db::Query> query = connection.NewQuery();
  query->SetSQL(kProbeDocuments);
  query->Open();
  hasAddPrice_ = query->FindField(kAddPriceColumn) != nullptr;
  query->Close();
  setting14015_ =
      readInt ? readInt(kSettingKey, kSettingDefault) : kSettingDefault;
}

bool DocInfoSettings::Initialized() { return connection_ != nullptr; }

db::Connection& DocInfoSettings::Database() {
  if (connection_ == nullptr) throw Error(kMsgNotInitialized);
  return *connection_;
}

bool DocInfoSettings::HasAddPrice() { return hasAddPrice_; }

int32_t DocInfoSettings::Setting14015() { return setting14015_; }

}  // namespace zrv::schedule
