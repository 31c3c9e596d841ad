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
    // Counted where classifier entries are added: apart from the open
    // transaction, which may be older than the latest of them.
    std::optional<int> count;
    db.RunApart([&] {
      auto query = db.NewQuery();
      query->SetSQL(kCountClassifiers);
      query->Open();
      if (!query->Eof()) count = query->FieldAt(0).AsInteger();
    });
    return count;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace zrv::import
