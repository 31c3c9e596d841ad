#include "import/RunHistory.h"

#include <memory>

namespace zrv::import {

std::vector<RunRecord> ListRuns(db::Connection& connection) {
  std::unique_ptr<db::Transaction> tx = connection.Begin(db::Isolation::kSnapshot);
  std::vector<RunRecord> runs = RunStore(*tx).List();
  tx->Commit();
  return runs;
}

std::optional<RunDetails> ReadRun(db::Connection& connection, int32_t runId) {
  std::unique_ptr<db::Transaction> tx = connection.Begin(db::Isolation::kSnapshot);
  const RunStore store(*tx);
  std::optional<RunRecord> record = store.Find(runId);
  if (!record) return std::nullopt;
  RunDetails details{*record, store.DescribedItems(runId)};
  tx->Commit();
  return details;
}

}  // namespace zrv::import
