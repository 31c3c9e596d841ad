#pragma once
// The schema scripts (sql/*.sql) and register data (sql/data/*.csv), built into
// the program.

#include <string_view>
#include <vector>

namespace zrv::app {

struct EmbeddedFile {
  std::string_view name;  // relative to sql/, e.g. "10_registers.sql", "data/nm_tbl.csv"
  std::string_view text;
};

// Every embedded file, ordered by name.
const std::vector<EmbeddedFile>& EmbeddedSchemaFiles();

}  // namespace zrv::app
