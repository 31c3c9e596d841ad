#include "state/ReadingTransaction.h"

namespace zrv::state {

ReadingTransaction::ReadingTransaction(db::Connection& connection) : connection_(connection) {
  if (!connection_.InTransaction()) {
    connection_.StartTransaction();
    owns_ = true;
  }
}

ReadingTransaction::~ReadingTransaction() {
  if (!owns_ || !connection_.InTransaction()) return;
  try {
    connection_.Rollback();
  } catch (...) {
    // Only reads were done: a rollback that fails (the connection is gone)
    // loses nothing, and a destructor must not throw.
  }
}

}  // namespace zrv::state
