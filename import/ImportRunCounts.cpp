#include "import/ImportRunCounts.h"

#include <exception>

namespace zrv::import {

namespace {
const char* const kCountClassifiers =
    "SELECT (SELECT COUNT(*) FROM obsh_kl) + (SELECT COUNT(*) FROM nm_kl)"
    " + (SELECT COUNT(*) FROM me_kl) + (SELECT COUNT(*) FROM jk_kl)"
    " + (SELECT COUNT(*) FROM ul_kl) + (SELECT COUNT(*) FROM objtype_kl)"
    " + (SELECT COUNT(*) FROM renttypes) FROM RDB$DATABASE";
}  // namespace

std::optional<int> CountClassifierRows(db::Connection& db) {
  try {
    auto query = db.NewQuery();
    query->SetSQL(kCountClassifiers);
    query->Open();
    if (query->Eof()) return std::nullopt;
    return query->FieldAt(0).AsInteger();
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace zrv::import
