#pragma once
// A connection that passes everything to another one and counts the queries
// made on it, for tests that check an operation runs no statement at all.

#include <memory>

#include "platform/db/Database.h"

namespace zrv::test {

class CountingConnection : public db::Connection {
 public:
  explicit CountingConnection(db::Connection& inner) : inner_(inner) {}

  void Open(const db::ConnectParams& params) override { inner_.Open(params); }
  void Close() override { inner_.Close(); }
  bool Connected() const override { return inner_.Connected(); }
  bool InTransaction() const override { return inner_.InTransaction(); }
  void StartTransaction() override { inner_.StartTransaction(); }
  void Commit() override { inner_.Commit(); }
  void Rollback() override { inner_.Rollback(); }
  std::unique_ptr<db::Query> NewQuery() override {
    ++queries;
    return inner_.NewQuery();
  }
  std::unique_ptr<db::Transaction> Begin(db::Isolation isolation) override {
    return inner_.Begin(isolation);
  }

  int queries = 0;

 private:
  db::Connection& inner_;
};

}  // namespace zrv::test
