#include "tests/support/TestDatabase.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

#include "app/DatabaseSetup.h"
#include "app/EmbeddedSchema.h"
#include "common/Error.h"
#include "platform/db/Firebird.h"

namespace zrv::test {

namespace {

namespace fs = std::filesystem;

const char kUser[] = "SYSDBA";
const char kPassword[] = "masterkey";

// A new folder named by the pattern, its XXXXXX made unique.
std::string MakeFolder(const std::string& pattern) {
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) throw Error("Cannot create a temporary folder " + pattern);
  return buffer.data();
}

// Every test database is a copy of one template file with the full schema,
// which is much faster than running the schema again. The template is kept in
// the build folder under a name made from the schema files, so that the test
// processes of one build share it and a changed schema makes a new one.
std::string TemplateFileName() {
  size_t hash = 0;
  for (const app::EmbeddedFile& file : app::EmbeddedSchemaFiles()) {
    hash = hash * 31 + std::hash<std::string_view>()(file.name);
    hash = hash * 31 + std::hash<std::string_view>()(file.text);
  }
  char name[64];
  std::snprintf(name, sizeof name, "template-%016zx.fdb", hash);
  return name;
}

void RemoveOtherTemplates(const fs::path& folder, const std::string& keep) {
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(folder, ignored)) {
    const std::string name = entry.path().filename().string();
    if (name != keep && name.rfind("template-", 0) == 0) fs::remove_all(entry.path(), ignored);
  }
}

// Made in a folder of its own and then renamed into place, so that a test
// process never sees a half-made template even when several make one at the
// same time.
std::string MakeTemplate() {
  const fs::path folder = fs::path(ZRV_BINARY_DIR) / "tests" / "db-templates";
  fs::create_directories(folder);
  const std::string name = TemplateFileName();
  const fs::path path = folder / name;
  if (fs::exists(path)) return path.string();

  const std::string scratch = MakeFolder((folder / "making-XXXXXX").string());
  const std::string made = scratch + "/" + name;
  try {
    // With the user demo (id 1), whom the tests log in as.
    app::CreatePropertyDatabase(db::ConnectParams{kUser, kPassword, made}, false, true);
    fs::rename(made, path);
  } catch (...) {
    fs::remove_all(scratch);
    throw;
  }
  fs::remove_all(scratch);
  RemoveOtherTemplates(folder, name);
  return path.string();
}

const std::string& TemplatePath() {
  static const std::string path = MakeTemplate();
  return path;
}

}  // namespace

std::string MakeTempFolder() {
  return MakeFolder((fs::temp_directory_path() / "zrv-test-XXXXXX").string());
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
