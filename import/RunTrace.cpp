#include "import/RunTrace.h"

#include "import/store/RunStore.h"

namespace zrv::import {

void RunTrace::Begin(db::Transaction& tx, int32_t runId) {
  const RunStore store(tx);
  for (const TraceItem& item : held_) store.AddItem(runId, item);
  held_.clear();
  holding_ = false;
  runId_ = runId;
}

void RunTrace::Record(db::Transaction& tx, const TraceItem& item) {
  if (runId_ != 0)
    RunStore(tx).AddItem(runId_, item);
  else if (holding_)
    held_.push_back(item);
}

}  // namespace zrv::import
