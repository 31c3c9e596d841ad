#include "tests/support/TestDatabase.h"

#include <stdlib.h>

#include <filesystem>
#include <vector>

#include "app/DatabaseSetup.h"
#include "common/Error.h"
#include "platform/db/Firebird.h"

namespace zrv::test {

namespace {

namespace fs = std::filesystem;

const char kUser[] = "SYSDBA";
const char kPassword[] = "masterkey";

// One database with the full schema per test process, made on first use; every test
// database is a copy of its file, which is much faster than running the schema again.
class TemplateDatabase {
 public:
  TemplateDatabase() : folder_(MakeTempFolder()), path_(folder_ + "/template.fdb") {
    app::CreatePropertyDatabase(db::ConnectParams{kUser, kPassword, path_}, false);
  }
  ~TemplateDatabase() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string folder_;
  std::string path_;
};

const std::string& TemplatePath() {
  static TemplateDatabase database;
  return database.Path();
}

}  // namespace

std::string MakeTempFolder() {
  std::string pattern = (fs::temp_directory_path() / "zrv-test-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) throw Error("Cannot create a temporary folder in " + pattern);
  return buffer.data();
}

TestDatabase::TestDatabase() : folder_(MakeTempFolder()), path_(folder_ + "/test.fdb") {
  fs::copy_file(TemplatePath(), path_);
  connection_ = db::MakeFirebirdConnection();
  connection_->Open(db::ConnectParams{kUser, kPassword, path_});
}

TestDatabase::~TestDatabase() {
  try {
    connection_->Close();
  } catch (...) {
    // The folder goes anyway.
  }
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

void TestDatabase::Exec(const std::string& sql) {
  auto query = connection_->NewQuery();
  query->SetSQL(sql);
  query->Execute();
}

std::string TestDatabase::Scalar(const std::string& sql) {
  auto query = connection_->NewQuery();
  query->SetSQL(sql);
  query->Open();
  if (query->Eof() || query->FieldCount() == 0) return "";
  return query->FieldAt(0).AsString();
}

int TestDatabase::ScalarInt(const std::string& sql) {
  auto query = connection_->NewQuery();
  query->SetSQL(sql);
  query->Open();
  if (query->Eof() || query->FieldCount() == 0) return 0;
  return query->FieldAt(0).AsInteger();
}

}  // namespace zrv::test
