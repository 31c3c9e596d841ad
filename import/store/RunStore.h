#pragma once
// The statements of the run history: the runs' records (import_runs) and the
// items each run stored (import_run_items), in a transaction the caller gives.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "import/RunRecord.h"
#include "import/RunTrace.h"
#include "platform/db/Database.h"

namespace zrv::import {

// An item with words for people: the contract's number, the person's name,
// the property's address, the link's path or the entry's text.
struct DescribedItem {
  TraceItem item;
  std::string text;
};

class RunStore {
 public:
  explicit RunStore(db::Transaction& tx) : tx_(tx) {}

  // Writes a new record with the fields of `record` known at the start (its
  // start is the server's time) and gives its id.
  int32_t Insert(const RunRecord& record) const;
  // Locks the record for as long as `tx` lasts, by updating it without a
  // change: an undo of the run waits for that lock.
  void Hold(int32_t runId) const;
  // Writes the end (the server's time), outcome, counts and log of `record`.
  void Complete(const RunRecord& record) const;

  // Every record, newest first.
  std::vector<RunRecord> List() const;
  std::optional<RunRecord> Find(int32_t runId) const;
  // The record, locked for the transaction; waits for a run still at work
  // (db::ConflictError once the wait limit is over).
  std::optional<RunRecord> FindForUpdate(int32_t runId) const;
  void MarkUndone(int32_t runId, int32_t userId, const std::string& userName,
                  const std::string& host) const;

  void AddItem(int32_t runId, const TraceItem& item) const;
  // The run's items in the order they were stored.
  std::vector<TraceItem> Items(int32_t runId) const;
  std::vector<DescribedItem> DescribedItems(int32_t runId) const;

  // An item for annex `number` about to be added to stored contract `docId`,
  // with what the annex will change: the contract's stop and term, and the
  // stop of the annex before it.
  TraceItem AddedAnnex(int32_t docId, int32_t number) const;

 private:
  db::Transaction& tx_;
};

}  // namespace zrv::import
