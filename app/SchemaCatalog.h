#pragma once
// What a database's schema holds, read from its system tables: the names of
// its tables and their columns, constraints, indexes, generators and triggers,
// in capitals as the engine keeps them.

#include <map>
#include <set>
#include <string>

#include "platform/db/Database.h"

namespace zrv::app {

struct SchemaCatalog {
  std::map<std::string, std::set<std::string>> columns;  // by table
  std::set<std::string> constraints;
  std::set<std::string> indexes;
  std::set<std::string> generators;
  std::set<std::string> triggers;

  bool HasTable(const std::string& table) const { return columns.count(table) > 0; }
};

// The user objects of the database (system tables and objects, and the names
// the engine made up, left out), read in the open transaction or one of its
// own.
SchemaCatalog ReadSchemaCatalog(db::Connection& db);

}  // namespace zrv::app
