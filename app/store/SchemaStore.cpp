#include "app/store/SchemaStore.h"

#include <memory>

#include "common/Text.h"
#include "platform/db/Firebird.h"

namespace zrv::app {
namespace {

const char* const kColumns =
    "SELECT TRIM(f.rdb$relation_name), TRIM(f.rdb$field_name)\n"
    "FROM rdb$relation_fields f\n"
    "JOIN rdb$relations r ON r.rdb$relation_name = f.rdb$relation_name\n"
    "WHERE COALESCE(r.rdb$system_flag, 0) = 0 AND r.rdb$view_blr IS NULL";
// Names the engine gave (INTEG_n, RDB$PRIMARYn, ...) are left out: they
// differ from one database to another, and no script names them.
const char* const kConstraints =
    "SELECT TRIM(rdb$constraint_name) FROM rdb$relation_constraints\n"
    "WHERE rdb$constraint_name NOT STARTING WITH 'INTEG_'";
const char* const kIndexes =
    "SELECT TRIM(rdb$index_name) FROM rdb$indices\n"
    "WHERE COALESCE(rdb$system_flag, 0) = 0\n"
    " AND rdb$index_name NOT STARTING WITH 'RDB$'";
const char* const kGenerators =
    "SELECT TRIM(rdb$generator_name) FROM rdb$generators\n"
    "WHERE COALESCE(rdb$system_flag, 0) = 0";
const char* const kTriggers =
    "SELECT TRIM(rdb$trigger_name) FROM rdb$triggers\n"
    "WHERE COALESCE(rdb$system_flag, 0) = 0";
const char* const kPrimaryKey =
    "SELECT TRIM(s.rdb$field_name) FROM rdb$relation_constraints c\n"
    "JOIN rdb$index_segments s ON s.rdb$index_name = c.rdb$index_name\n"
    "WHERE c.rdb$relation_name = :table_name\n"
    " AND c.rdb$constraint_type = 'PRIMARY KEY'\n"
    "ORDER BY s.rdb$field_position";

const char* const kHasVersionTable =
    "SELECT COUNT(*) FROM rdb$relations\n"
    "WHERE rdb$relation_name = 'SCHEMA_VERSION'";
const char* const kStoredVersion = "SELECT COALESCE(MAX(sv_version), 0) FROM schema_version";
const char* const kRecordVersion =
    "INSERT INTO schema_version (sv_version, sv_date, sv_program)\n"
    "VALUES (:version, 'NOW', :program)";

// Made from the schema scripts' pieces: the table, a column's or a named
// constraint's definition, an index's name.
const char* const kAddToTable = "ALTER TABLE %s ADD %s";
const char* const kDropIndex = "DROP INDEX %s";
// 1: the guarded expression, 2: the key list, 3: the table.
const char* const kDuplicates =
    "SELECT %1$s%2$s FROM %3$s WHERE %1$s IN (SELECT %1$s FROM %3$s GROUP BY "
    "1 HAVING COUNT(*) > 1) ORDER BY 1%2$s";
// 1: the key list, 2: the table, 3: the condition, 4: the order.
const char* const kRefused = "SELECT 0%1$s FROM %2$s WHERE NOT (%3$s)%4$s";
const char* const kByFirstKey = " ORDER BY 2";

// The key's columns for a select list, each after ", ".
std::string KeyList(const std::vector<std::string>& key) {
  std::string list;
  for (const std::string& column : key) list += ", " + column;
  return list;
}

void ReadNames(db::Transaction& tx, const char* sql, std::set<std::string>& names) {
  std::unique_ptr<db::Query> query = tx.NewQuery();
  query->SetSQL(sql);
  query->Open();
  for (; !query->Eof(); query->Next()) names.insert(Trim(query->FieldAt(0).AsString()));
}

int32_t Scalar(db::Transaction& tx, const char* sql) {
  std::unique_ptr<db::Query> query = tx.NewQuery();
  query->SetSQL(sql);
  query->Open();
  return query->FieldAt(0).AsInteger();
}

// The rows of an open query: the value in its first column (withValue), the
// key's values in the columns after it.
std::vector<KeyedRow> KeyedRows(db::Query& query, size_t keySize, bool withValue) {
  std::vector<KeyedRow> rows;
  for (; !query.Eof(); query.Next()) {
    KeyedRow row;
    if (withValue) row.value = query.FieldAt(0).AsString();
    for (size_t i = 0; i < keySize; ++i)
      row.key.push_back(query.FieldAt(1 + static_cast<int>(i)).AsString());
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace

SchemaCatalog SchemaStore::ReadCatalog() const {
  SchemaCatalog catalog;
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kColumns);
  query->Open();
  for (; !query->Eof(); query->Next()) {
    catalog.columns[Trim(query->FieldAt(0).AsString())].insert(Trim(query->FieldAt(1).AsString()));
  }
  ReadNames(tx_, kConstraints, catalog.constraints);
  ReadNames(tx_, kIndexes, catalog.indexes);
  ReadNames(tx_, kGenerators, catalog.generators);
  ReadNames(tx_, kTriggers, catalog.triggers);
  return catalog;
}

std::vector<std::string> SchemaStore::PrimaryKeyColumns(const std::string& table) const {
  std::vector<std::string> columns;
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kPrimaryKey);
  query->SetString("table_name", table);
  query->Open();
  for (; !query->Eof(); query->Next()) columns.push_back(Trim(query->FieldAt(0).AsString()));
  return columns;
}

int32_t SchemaStore::StoredVersion() const {
  if (Scalar(tx_, kHasVersionTable) == 0) return 0;
  return Scalar(tx_, kStoredVersion);
}

void SchemaStore::RecordVersion(int32_t version, const std::string& program) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kRecordVersion);
  query->SetInteger("version", version);
  query->SetString("program", program);
  query->Execute();
}

void SchemaStore::Run(const std::string& statement) const { db::ExecuteRaw(tx_, statement); }

void SchemaStore::AddToTable(const std::string& table, const std::string& definition) const {
  db::ExecuteRaw(tx_, Format(kAddToTable, table.c_str(), definition.c_str()));
}

void SchemaStore::DropIndex(const std::string& name) const {
  db::ExecuteRaw(tx_, Format(kDropIndex, name.c_str()));
}

std::vector<KeyedRow> SchemaStore::DuplicateRows(const std::string& table,
                                                 const std::string& expression,
                                                 const std::vector<std::string>& key) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(Format(kDuplicates, expression.c_str(), KeyList(key).c_str(), table.c_str()));
  query->Open();
  return KeyedRows(*query, key.size(), true);
}

std::vector<KeyedRow> SchemaStore::RefusedRows(const std::string& table,
                                               const std::string& condition,
                                               const std::vector<std::string>& key) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(Format(kRefused, KeyList(key).c_str(), table.c_str(), condition.c_str(),
                       key.empty() ? "" : kByFirstKey));
  query->Open();
  return KeyedRows(*query, key.size(), false);
}

}  // namespace zrv::app
