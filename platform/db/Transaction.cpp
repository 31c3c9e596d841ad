#include "platform/db/Transaction.h"

namespace zrv::db {

namespace {
const char* const kSavepoint = "SAVEPOINT ";
const char* const kRelease = "RELEASE SAVEPOINT ";
const char* const kOnly = " ONLY";
const char* const kRollbackTo = "ROLLBACK TO SAVEPOINT ";
}  // namespace

Savepoint::Savepoint(Transaction& tx, std::string name) : tx_(tx), name_(std::move(name)) {
  Run(kSavepoint + name_);
}

Savepoint::~Savepoint() {
  if (!open_) return;
  try {
    RollBack();
  } catch (const std::exception&) {
    // Already unwinding from the error that left the savepoint open.
  }
}

void Savepoint::Run(const std::string& sql) {
  std::unique_ptr<Query> query = tx_.NewQuery();
  query->SetSQL(sql);
  query->Execute();
}

void Savepoint::Release() {
  open_ = false;
  Run(kRelease + name_ + kOnly);
}

void Savepoint::RollBack() {
  open_ = false;
  Run(kRollbackTo + name_);
  Run(kRelease + name_ + kOnly);
}

OwnTransaction::OwnTransaction(Connection& connection)
    : connection_(connection), open_(connection) {
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
