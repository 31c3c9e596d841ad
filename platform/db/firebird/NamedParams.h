#pragma once
// Named parameters (":name") of a statement text turned into the engine's
// positional markers.

#include <string>
#include <vector>

namespace zrv::db::fb {

struct PositionalSql {
  std::string text;                // the statement with every ":name" replaced by "?"
  std::vector<std::string> names;  // the upper-cased name of each marker, in order
};

// Text inside single or double quotes (both are literals in dialect 1) and
// comments is left alone. A name may occur more than once; each occurrence
// becomes a marker of its own.
PositionalSql ToPositional(const std::string& sql);

// The upper-cased ASCII form under which parameter and column names are
// compared.
std::string UpperName(const std::string& name);

}  // namespace zrv::db::fb
