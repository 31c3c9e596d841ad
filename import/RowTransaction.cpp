#include "import/RowTransaction.h"

#include <exception>
#include <memory>

namespace zrv::import {

namespace {
const char* const kSavepoint = "SAVEPOINT zrv_row";
const char* const kReleaseSavepoint = "RELEASE SAVEPOINT zrv_row ONLY";
const char* const kRollbackToSavepoint = "ROLLBACK TO SAVEPOINT zrv_row";
}  // namespace

RowTransaction::RowTransaction(db::Connection& db, bool savepoint)
    : db_(db), savepoint_(savepoint) {
  if (savepoint_) {
    Run(kSavepoint);
  } else {
    db_.StartTransaction();
  }
}

RowTransaction::~RowTransaction() {
  if (!open_) return;
  try {
    Rollback();
  } catch (const std::exception&) {
    // Already unwinding from the error that left the row open; that one wins.
  }
}

void RowTransaction::Run(const char* sql) {
  std::unique_ptr<db::Query> query = db_.NewQuery();
  query->SetSQL(sql);
  query->Execute();
}

void RowTransaction::Commit() {
  if (savepoint_) {
    Run(kReleaseSavepoint);
  } else {
    db_.Commit();
  }
  open_ = false;
}

void RowTransaction::Rollback() {
  open_ = false;
  if (savepoint_) {
    Run(kRollbackToSavepoint);
    Run(kReleaseSavepoint);
  } else if (db_.InTransaction()) {
    db_.Rollback();
  }
}

DryRunTransaction::DryRunTransaction(db::Connection& db, bool on)
    : db_(db), on_(on) {
  if (!on_) return;
  db_.StartTransaction();
  db_.SetHoldApart(true);
}

DryRunTransaction::~DryRunTransaction() {
  if (!on_) return;
  try {
    db_.SetHoldApart(false);
  } catch (const std::exception&) {
    // As below.
  }
  try {
    if (db_.InTransaction()) db_.Rollback();
  } catch (const std::exception&) {
    // The connection is gone, and the engine dropped the transaction with it.
  }
}

}  // namespace zrv::import
