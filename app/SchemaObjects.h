#pragma once
// The schema scripts read as the objects they make, for the upgrade of an
// existing database: each table with its columns and named constraints, each
// index, generator and trigger with the statement that makes it, the rows a
// script inserts, and the statements to run on every upgrade.

#include <string>
#include <vector>

#include "app/EmbeddedSchema.h"

namespace zrv::app {

// A named constraint inside CREATE TABLE.
struct SchemaConstraint {
  enum class Kind { kPrimaryKey, kUnique, kCheck, kOther };
  Kind kind = Kind::kOther;
  std::string name;        // in capitals, as the engine keeps it
  std::string definition;  // "CONSTRAINT name ...", for ALTER TABLE ... ADD
  std::string key;         // unique key: "a" or "a || '|' || b"; check: the condition
};

// A column of CREATE TABLE.
struct SchemaColumn {
  std::string name;        // in capitals
  std::string definition;  // "name TYPE ...", for ALTER TABLE ... ADD
};

struct SchemaStatement {
  enum class Kind {
    kTable,      // CREATE TABLE
    kIndex,      // CREATE [UNIQUE] [DESCENDING] INDEX
    kGenerator,  // CREATE GENERATOR or SEQUENCE
    kTrigger,    // CREATE TRIGGER
    kRow,        // INSERT INTO: only into a table the upgrade makes
    kAlways,     // anything else (EXECUTE BLOCK, CREATE OR ALTER ...): must be
                 // safe to run again, and runs on every upgrade
  };
  Kind kind = Kind::kAlways;
  std::string file;                   // "40_documents.sql"
  std::string sql;                    // the statement as written, comments and all
  std::string name;                   // the object's name in capitals (not for kRow, kAlways)
  std::string table;                  // the table it belongs to, in capitals
  bool unique = false;                // a unique index
  std::string key;                    // a unique index's key expression
  std::vector<SchemaColumn> columns;  // kTable
  std::vector<SchemaConstraint> constraints;  // kTable
};

// The statements of the top-level *.sql files among `files`, scripts in name
// order. Throws zrv::Error for a CREATE TABLE whose parentheses do not close.
std::vector<SchemaStatement> ReadSchemaStatements(const std::vector<EmbeddedFile>& files);

// The statement without its comments (quoted texts kept as they are).
std::string WithoutComments(const std::string& sql);

}  // namespace zrv::app
