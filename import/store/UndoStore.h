#pragma once
// The statements of an undo: what keeps a run's contracts from being removed,
// whether a person, property or classifier entry is still used, and the
// removals, in the undo's transaction.

#include <cstdint>
#include <string>
#include <vector>

#include "import/RunTrace.h"
#include "platform/db/Database.h"

namespace zrv::import {

class UndoStore {
 public:
  explicit UndoStore(db::Transaction& tx) : tx_(tx) {}

  bool ContractExists(int32_t docId) const;
  int32_t PaymentCount(int32_t docId) const;
  int32_t InvoiceCount(int32_t docId) const;  // invoices waiting for payment
  // Runs other than `runId`, not undone, that added an annex to `docId`.
  std::vector<int32_t> LaterRunsWithAnnexes(int32_t docId, int32_t runId) const;
  // The greatest annex number of the contract; 0 without annexes.
  int32_t LastAnnexNumber(int32_t docId) const;

  // Removes the annex and puts back what adding it changed: the stop of the
  // annex before it, the contract's stop and term.
  void RemoveAddedAnnex(const TraceItem& annex) const;
  // Removes the contract with its annexes, schedule and characteristic rows
  // (its key goes with it, by the key table's trigger).
  void RemoveContract(int32_t docId) const;
  void RemoveFileLink(int32_t propertyId, int32_t number) const;

  // Rows that use the person, property or classifier entry.
  int32_t PersonUses(int32_t personId) const;
  int32_t PropertyUses(int32_t propertyId) const;
  // -1 for a table no run writes.
  int32_t EntryUses(const std::string& table, int32_t id) const;
  void RemovePerson(int32_t personId) const;
  void RemoveProperty(int32_t propertyId) const;
  void RemoveEntry(const std::string& table, int32_t id) const;

 private:
  int32_t Count(const char* sql, int32_t id) const;
  void Run(const char* sql, int32_t id) const;

  db::Transaction& tx_;
};

}  // namespace zrv::import
