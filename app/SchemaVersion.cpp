#include "app/SchemaVersion.h"

#include "Version.h"
#include "common/Text.h"
#include "platform/db/Transaction.h"

namespace zrv::app {

namespace {

const char* const kHasTable =
    "SELECT COUNT(*) FROM rdb$relations\n"
    "WHERE rdb$relation_name = 'SCHEMA_VERSION'";
const char* const kStoredVersion =
    "SELECT COALESCE(MAX(sv_version), 0) FROM schema_version";
const char* const kRecord =
    "INSERT INTO schema_version (sv_version, sv_date, sv_program)\n"
    "VALUES (:version, 'NOW', :program)";

const char* const kOlder =
    "Базата данни е от по-стара версия на програмата (версия на схемата %s, "
    "програмата иска %d): новите защити на данните липсват. Обновете я със "
    "„zorvit db upgrade“.";
const char* const kNewer =
    "Базата данни е от по-нова версия на програмата (версия на схемата %d, "
    "програмата знае до %d): обновете програмата.";
const char* const kNoVersion = "незаписана";

int32_t Scalar(db::Connection& db, const char* sql) {
  auto query = db.NewQuery();
  query->SetSQL(sql);
  query->Open();
  return query->FieldAt(0).AsInteger();
}

}  // namespace

int32_t StoredSchemaVersion(db::Connection& db) {
  if (Scalar(db, kHasTable) == 0) return 0;
  return Scalar(db, kStoredVersion);
}

void RecordSchemaVersion(db::Connection& db) {
  db::OwnTransaction transaction(db);
  if (StoredSchemaVersion(db) >= kSchemaVersion) return;
  auto query = db.NewQuery();
  query->SetSQL(kRecord);
  query->SetInteger("version", kSchemaVersion);
  query->SetString("program", ZRV_VERSION);
  query->Execute();
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
