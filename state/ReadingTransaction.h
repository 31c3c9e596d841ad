#pragma once
// A transaction for reading only: one snapshot for everything read inside it,
// started when none is open and always rolled back by the object that started
// it, so that nothing done inside it can stay in the database. A transaction
// the caller has open is used as it is and left to the caller.
//
// The connection interface starts snapshot transactions that may write; no
// statement of the readers that use this one writes, and the rollback is the
// guarantee that nothing would stay if one did.

#include "platform/db/Database.h"

namespace zrv::state {

class ReadingTransaction {
 public:
  explicit ReadingTransaction(db::Connection& connection);
  ~ReadingTransaction();
  ReadingTransaction(const ReadingTransaction&) = delete;
  ReadingTransaction& operator=(const ReadingTransaction&) = delete;

 private:
  db::Connection& connection_;
  bool owns_ = false;
};

}  // namespace zrv::state
