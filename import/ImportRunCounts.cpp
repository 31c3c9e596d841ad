#include "import/ImportRunCounts.h"

#include <exception>

#include "import/store/ClassifierStore.h"

namespace zrv::import {

std::optional<int> CountClassifierRows(EntryTransactions& entries) {
  try {
    // Counted where classifier entries are added: apart from the row's
    // transaction, which may be older than the latest of them.
    std::optional<int> count;
    entries.Apart([&](db::Transaction& tx) { count = RegisterStore(tx).CountClassifierRows(); });
    return count;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace zrv::import
