#pragma once
// Stored contracts loaded one after another for their state, with a few
// statements for many contracts: the selected ids are read once, then ranges
// of them, one statement per table for each range (DebtorsStore), and each
// contract is cut out of those rows in id order. A range holds about
// kBatchRows schedule, payment and detail rows and spans a few ids per
// contract it holds, so memory stays bounded however many contracts there are
// and however few of them are selected.
//
// Nothing is written: the payments of pay type 1 without an invoice that
// TDocInfo::LoadContract deletes are left out of the loaded contract instead,
// with their payment details, and counted. Reads run in the caller's
// transaction; one snapshot transaction for the whole stream gives every
// contract as it stood at one moment.

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "state/ContractRows.h"
#include "state/DocInfo.h"
#include "state/store/DebtorsStore.h"

namespace zrv::state {

class ContractStream {
 public:
  // Schedule, payment and detail rows a range aims at.
  static constexpr int kBatchRows = 40000;

  // Reads the selected ids at once; `connection` must outlive the stream.
  ContractStream(db::Connection& connection, const ContractSelection& selection);
  ~ContractStream();

  // Number of selected contracts.
  int Total() const { return static_cast<int>(ids_.size()); }

  // Loads the next contract into `info` (a newly made object) and gives its
  // facts; false after the last one.
  bool Next(TDocInfo& info, ContractFacts& facts);

 private:
  struct Views;
  void OpenNextBatch();

  DebtorsStore store_;
  std::vector<int32_t> ids_;
  size_t next_ = 0;       // index in ids_ of the next contract
  size_t batchEnd_ = 0;   // one past the last index of the open range
  size_t batchSize_ = 0;  // contracts of the next range
  long rowsRead_ = 0;     // schedule, payment and detail rows so far
  ContractBatch batch_;
  // Payments of the open range the clean-up would delete, as id << 32 | num.
  std::unordered_set<uint64_t> unlinked_;
  std::unordered_map<int32_t, int> unlinkedCount_;  // by contract id
  std::unique_ptr<Views> views_;
};

}  // namespace zrv::state
