#pragma once
// Where a classifier entry is added: apart from the row that names it, in a
// short transaction others see committed at once, so that the entry stays
// when the row is refused and another workstation finds it. The import run
// gives its own (a dry run keeps every entry in one transaction it rolls back
// at its end, see RunTransactions.h); ShortTransactions is the plain kind.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/db/Database.h"

namespace zrv::import {

class EntryTransactions {
 public:
  virtual ~EntryTransactions() = default;
  // Runs work in a read-committed transaction apart from every other,
  // committed when work returns and rolled back when it throws (the error
  // travels on).
  virtual void Apart(const std::function<void(db::Transaction&)>& work) = 0;
  // Told in the entry's own transaction that `table` got the entry `id`.
  virtual void Added(db::Transaction& tx, const char* table, int32_t id) {
    (void)tx, (void)table, (void)id;
  }
  // The entries a run has met committed apart (found or added), by table and
  // upper-cased text: a row's snapshot, begun with its batch, may be older
  // than they are, and would otherwise look for them apart once per row.
  // Without a run nothing is kept.
  virtual std::optional<int32_t> Known(const char* table, const std::string& text) const {
    (void)table, (void)text;
    return std::nullopt;
  }
  virtual void Remember(const char* table, const std::string& text, int32_t id) {
    (void)table, (void)text, (void)id;
  }
};

// Each work in a new transaction of its own on the connection.
class ShortTransactions : public EntryTransactions {
 public:
  explicit ShortTransactions(db::Connection& connection) : connection_(connection) {}
  void Apart(const std::function<void(db::Transaction&)>& work) override {
    std::unique_ptr<db::Transaction> tx = connection_.Begin(db::Isolation::kReadCommitted);
    work(*tx);
    tx->Commit();
  }

 private:
  db::Connection& connection_;
};

}  // namespace zrv::import
