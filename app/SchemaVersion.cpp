#include "app/SchemaVersion.h"

#include "Version.h"
#include "app/store/SchemaStore.h"
#include "common/Text.h"
#include "platform/db/Transaction.h"

namespace zrv::app {

namespace {

const char* const kOlder =
    "Базата данни е от по-стара версия на програмата (версия на схемата %s, "
    "програмата иска %d): новите защити на данните липсват. Обновете я със "
    "„zorvit db upgrade“.";
const char* const kNewer =
    "Базата данни е от по-нова версия на програмата (версия на схемата %d, "
    "програмата знае до %d): обновете програмата.";
const char* const kNoVersion = "незаписана";

}  // namespace

int32_t StoredSchemaVersion(db::Connection& db) {
  db::OwnTransaction transaction(db);
  const int32_t stored = SchemaStore(transaction.Get()).StoredVersion();
  transaction.Commit();
  return stored;
}

void RecordSchemaVersion(db::Connection& db) {
  db::OwnTransaction transaction(db);
  const SchemaStore store(transaction.Get());
  if (store.StoredVersion() >= kSchemaVersion) return;
  store.RecordVersion(kSchemaVersion, ZRV_VERSION);
  transaction.Commit();
}

std::string SchemaVersionNote(db::Connection& db) {
  const int32_t stored = StoredSchemaVersion(db);
  if (stored < kSchemaVersion) {
    const std::string shown = stored == 0 ? kNoVersion : std::to_string(stored);
    return Format(kOlder, shown.c_str(), kSchemaVersion);
  }
  if (stored > kSchemaVersion) return Format(kNewer, stored, kSchemaVersion);
  return "";
}

}  // namespace zrv::app
