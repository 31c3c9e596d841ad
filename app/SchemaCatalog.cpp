#include "app/SchemaCatalog.h"

#include "common/Text.h"

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

void ReadNames(db::Connection& db, const char* sql,
               std::set<std::string>& names) {
  auto query = db.NewQuery();
  query->SetSQL(sql);
  query->Open();
  for (; !query->Eof(); query->Next())
    names.insert(Trim(query->FieldAt(0).AsString()));
}

}  // namespace

SchemaCatalog ReadSchemaCatalog(db::Connection& db) {
  SchemaCatalog catalog;
  auto query = db.NewQuery();
  query->SetSQL(kColumns);
  query->Open();
  for (; !query->Eof(); query->Next()) {
    catalog.columns[Trim(query->FieldAt(0).AsString())].insert(
        Trim(query->FieldAt(1).AsString()));
  }
  ReadNames(db, kConstraints, catalog.constraints);
  ReadNames(db, kIndexes, catalog.indexes);
  ReadNames(db, kGenerators, catalog.generators);
  ReadNames(db, kTriggers, catalog.triggers);
  return catalog;
}

std::vector<std::string> PrimaryKeyColumns(db::Connection& db,
                                           const std::string& table) {
  std::vector<std::string> columns;
  auto query = db.NewQuery();
  query->SetSQL(kPrimaryKey);
  query->SetString("table_name", table);
  query->Open();
  for (; !query->Eof(); query->Next())
    columns.push_back(Trim(query->FieldAt(0).AsString()));
  return columns;
}

}  // namespace zrv::app
