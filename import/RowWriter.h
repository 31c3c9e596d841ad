#pragma once
// The third stage of a contract row: what the resolver made of it written in
// the row's transaction. A new contract: its property and persons when
// they are new (each claimed by its identity, so that two workstations store
// it once), the contract with its key, its annexes, its file link and its rent
// schedule. A contract stored already: the annex rows it does not have yet.
//
// Database errors travel on; the caller rolls the row back. Everything given
// must outlive the writer.

#include <cstdint>
#include <string>
#include <vector>

#include "contracts/RentKinds.h"
#include "import/ContractRow.h"
#include "import/ErrorList.h"
#include "import/RowResolver.h"
#include "import/RunTrace.h"
#include "platform/db/Database.h"
#include "platform/ui/Messages.h"
#include "schedule/AnnexesAsStored.h"

namespace zrv::import {

// The annex rows of one contract row: how many were stored, how many were
// stored already (a row imported again), and which were refused.
struct AnnexCounts {
  int stored = 0;
  int skipped = 0;
  int dropped = 0;
  std::vector<int> droppedRows;  // worksheet rows of the refused annexes

  void Drop(int row) {
    ++dropped;
    droppedRows.push_back(row);
  }
};

class RowWriter {
 public:
  // What the writer stores is recorded in `trace` (a real run's items).
  RowWriter(ErrorList& errors, ui::Messages& messages, const contracts::RentKinds& rentKinds,
            RunTrace& trace);

  // Stores the new contract of `row`, resolved into `records`. New property
  // and persons are claimed when `claim` (person and property keys); the
  // contract key `key`, claimed already by the caller, is tied to the stored
  // contract unless it is empty. Annex numbers count from 2, a refused annex
  // uses its number up and adds its WARNING lines. With `fileLinks` the
  // scanned file is linked under the last matching rent kind's folder.
  AnnexCounts WriteContract(db::Transaction& tx, const ContractRow& row, RowRecords records,
                            bool claim, const std::string& key, bool fileLinks);

  // `row` is stored already as contract `docId`: compares the row with it and
  // its annex rows with the stored annexes. An annex row stored already (same
  // start and price) is skipped; one that starts after the last stored annex
  // is added, and the schedule rebuilt once; one that starts on or before a
  // stored annex but differs from it is refused with a WARNING. Contract cells
  // that differ from the stored contract (price AD, start AE, term AC) give one
  // WARNING naming them; stored values are not changed.
  AnnexCounts WriteAnnexesOfStored(db::Transaction& tx, const ContractRow& row,
                                   const contracts::TBaseDoc& contract, int32_t docId);

 private:
  // Adds the annex rows of a new contract, each stored one also to `stored`.
  AnnexCounts WriteAnnexes(db::Transaction& tx, const ContractRow& row,
                           const contracts::TBaseDoc& contract, schedule::AnnexesAsStored& stored);

  ErrorList& errors_;
  ui::Messages& messages_;
  const contracts::RentKinds& rentKinds_;
  RunTrace& trace_;
};

}  // namespace zrv::import
