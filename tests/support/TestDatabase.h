#pragma once
// A fresh property database for one test: created with the full schema and
// the user demo (id 1) in a temporary folder, opened on the embedded engine,
// and deleted with the folder when the object goes.

#include <memory>
#include <string>

#include "platform/db/Database.h"

namespace zrv::test {

class TestDatabase {
 public:
  TestDatabase();
  ~TestDatabase();
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  db::Connection& Connection() { return *connection_; }
  const std::string& Path() const { return path_; }
  // Runs one statement in its own transaction (for setting up test data).
  void Exec(const std::string& sql);
  // The first column of the first row of a select, as text ("" when there is no
  // row).
  std::string Scalar(const std::string& sql);
  int ScalarInt(const std::string& sql);

 private:
  std::string folder_;
  std::string path_;
  std::unique_ptr<db::Connection> connection_;
};

// A new empty temporary folder, removed by the caller.
std::string MakeTempFolder();

}  // namespace zrv::test
