#pragma once
// The statements on the database's schema, in a transaction the caller gives:
// what the schema holds, read from the system tables (rdb$relations,
// rdb$relation_fields, rdb$relation_constraints, rdb$index_segments,
// rdb$indices, rdb$generators, rdb$triggers); the rows of schema_version; the
// statements that make and drop objects (the schema scripts' own, ALTER TABLE
// ... ADD, DROP INDEX); and the rows of a table that a guard about to be added
// would refuse. The schema statements run as written, without named
// parameters, so the transaction must be a connection's open one
// (db::OwnTransaction::Get).

#include <cstdint>
#include <string>
#include <vector>

#include "app/SchemaCatalog.h"
#include "platform/db/Database.h"

namespace zrv::app {

// A row found by a check of existing data: the value it is found by (empty
// for a refused row) and its primary key's values, in the key's order.
struct KeyedRow {
  std::string value;
  std::vector<std::string> key;
};

class SchemaStore {
 public:
  explicit SchemaStore(db::Transaction& tx) : tx_(tx) {}

  // The user objects of the database; system tables and objects, and the
  // names the engine made up, are left out.
  SchemaCatalog ReadCatalog() const;
  // The columns of the table's primary key, in order; empty when it has none.
  std::vector<std::string> PrimaryKeyColumns(const std::string& table) const;

  // The highest version recorded in schema_version; 0 when the database has
  // no such table (made before versions were kept).
  int32_t StoredVersion() const;
  // Adds the row of `version`, dated now, naming the program's version.
  void RecordVersion(int32_t version, const std::string& program) const;

  // Runs a statement of the schema scripts as written: ":name" inside a
  // trigger or procedure body stays the body's own variable.
  void Run(const std::string& statement) const;
  // ALTER TABLE `table` ADD `definition` (a column, or a named constraint).
  void AddToTable(const std::string& table, const std::string& definition) const;
  // DROP INDEX `name`.
  void DropIndex(const std::string& name) const;

  // The rows of `table` whose value of `expression` (not null) another row
  // shares, ordered by that value and then by `key`, the table's primary key
  // columns.
  std::vector<KeyedRow> DuplicateRows(const std::string& table, const std::string& expression,
                                      const std::vector<std::string>& key) const;
  // The rows of `table` that a CHECK with `condition` refuses (an unknown
  // condition passes), ordered by the first column of `key`.
  std::vector<KeyedRow> RefusedRows(const std::string& table, const std::string& condition,
                                    const std::vector<std::string>& key) const;

 private:
  db::Transaction& tx_;
};

}  // namespace zrv::app
