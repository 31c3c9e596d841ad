#include "platform/db/Transaction.h"

namespace zrv::db {

void Connection::RunApart(const std::function<void()>& work) {
  OwnTransaction transaction(*this);
  work();
  transaction.Commit();
}

OwnTransaction::OwnTransaction(Connection& connection)
    : connection_(connection) {
  if (!connection_.InTransaction()) {
    connection_.StartTransaction();
    owns_ = true;
  }
}

OwnTransaction::~OwnTransaction() {
  if (owns_ && !done_) {
    try {
      connection_.Rollback();
    } catch (...) {
      // Already unwinding from the error that made the rollback necessary; that
      // error wins.
    }
  }
}

void OwnTransaction::Commit() {
  if (owns_ && !done_) {
    // Marked done only once the commit went through: a failed commit leaves the
    // transaction open, and the destructor then rolls it back.
    connection_.Commit();
    done_ = true;
  }
}

void OwnTransaction::Rollback() {
  if (owns_ && !done_) {
    done_ = true;
    connection_.Rollback();
  }
}

}  // namespace zrv::db
