#include "app/DatabaseSetup.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <vector>

#include "app/AppUsers.h"
#include "app/SchemaVersion.h"
#include "app/TerminationSignals.h"
#include "app/store/RegisterLoadStore.h"
#include "app/store/SchemaStore.h"
#include "app/store/SettingStore.h"
#include "common/Csv.h"
#include "common/Error.h"
#include "common/SystemErrorText.h"
#include "platform/db/Firebird.h"
#include "platform/db/SqlScript.h"
#include "platform/db/Transaction.h"
#include "platform/login/DatabaseLocation.h"
#include "schedule/store/DocInfoSettings.h"

namespace zrv::app {

namespace {

namespace fs = std::filesystem;

const char kOwner[] = "SYSDBA";
const char kOwnerPassword[] = "masterkey";
// The user of the demonstration (`make demo`, the tests).
const char kDemoUser[] = "demo";
const char kScriptSuffix[] = ".sql";
// A database being made is ".NAME.PID.part" beside where it will be.
const char kPartSuffix[] = ".part";

struct RegisterFile {
  const char* table;
  const char* file;
};
const RegisterFile kRegisters[] = {{"obsh_tbl", "data/obsh_tbl.csv"},
                                   {"nm_tbl", "data/nm_tbl.csv"}};

bool IsLocalPath(const std::string& serverName) { return !login::IsServerDatabase(serverName); }

std::string_view FileText(const std::vector<EmbeddedFile>& files, std::string_view name) {
  for (const EmbeddedFile& file : files) {
    if (file.name == name) return file.text;
  }
  throw Error("The program carries no file sql/" + std::string(name) + ".");
}

// A register's data: the columns its first line names, and the rows below.
struct RegisterData {
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;
};

// The CSV text of a register's data file, every row checked to have a value
// for each column.
RegisterData ReadRegister(const std::string& table, std::string_view text) {
  std::vector<csv::Record> records;
  int badLine = 0;
  if (!csv::Parse(text, ',', records, badLine)) {
    throw Error("Line " + std::to_string(badLine) + " of the register data for " + table +
                " has a quoted field that is not closed.");
  }
  std::erase_if(records, [](const csv::Record& r) { return r.Blank(); });
  if (records.empty()) throw Error("The register data for " + table + " is empty.");
  RegisterData data{records[0].fields, {}};
  for (size_t i = 1; i < records.size(); ++i) {
    const std::vector<std::string>& fields = records[i].fields;
    if (fields.size() != data.columns.size()) {
      throw Error("Line " + std::to_string(records[i].line) + " of the register data for " + table +
                  " has " + std::to_string(fields.size()) + " fields instead of " +
                  std::to_string(data.columns.size()) + ".");
    }
    data.rows.push_back(fields);
  }
  return data;
}

void RemoveHalfMadeDatabase(db::Connection& connection, const db::ConnectParams& params) {
  try {
    if (!connection.Connected()) connection.Open(params);
    DropFirebirdDatabase(connection);
    return;
  } catch (const std::exception&) {
    // The engine could not drop it; a local file is removed by hand below.
  }
  connection.Close();
  const std::string& path = params.serverName;
  if (IsLocalPath(path)) {
    std::error_code ignored;
    fs::remove(path, ignored);
  }
}

void PrepareLocalFile(const std::string& path) {
  std::error_code error;
  if (fs::exists(path, error)) {
    throw Error("Файлът на базата данни " + path + " вече съществува; нищо не е променено.");
  }
  fs::path folder = fs::path(path).parent_path();
  if (!folder.empty() && !fs::exists(folder, error)) {
    fs::create_directories(folder, error);
    if (error) {
      throw Error("Папката " + folder.string() + " за базата данни не може да се създаде: " +
                  SystemErrorText(error.value()) + ".");
    }
  }
}

fs::path PartName(const fs::path& path, pid_t pid) {
  return path.parent_path() /
         ("." + path.filename().string() + "." + std::to_string(pid) + kPartSuffix);
}

// Removes what an earlier `db init` killed before it finished left beside the
// path: part files of processes that no longer run.
void RemoveStaleParts(const fs::path& path) {
  const std::string prefix = "." + path.filename().string() + ".";
  std::error_code error;
  const fs::path folder = path.parent_path().empty() ? "." : path.parent_path();
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with(prefix) || !name.ends_with(kPartSuffix)) continue;
    const std::string pid =
        name.substr(prefix.size(), name.size() - prefix.size() - std::strlen(kPartSuffix));
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
    const pid_t owner = static_cast<pid_t>(std::stol(pid));
    if (kill(owner, 0) == 0 || errno != ESRCH) continue;  // still running
    fs::remove(entry.path(), error);
  }
}

// Gives the finished database its name; refuses to replace a file that
// appeared there in the meantime.
void MoveIntoPlace(const fs::path& part, const std::string& path) {
  if (link(part.c_str(), path.c_str()) != 0) {
    const int error = errno;
    // The complete database stays nowhere but under its own name.
    std::error_code ignored;
    fs::remove(part, ignored);
    throw Error("Новата база данни не може да получи името " + path + ": " +
                SystemErrorText(error) + ".");
  }
  std::error_code ignored;
  fs::remove(part, ignored);
}

// What the program's own database holds besides its scripts' work.
struct Completion {
  bool recordVersion = false;
  bool demoUser = false;
};

// Builds the database `params` names; `shownPath` is the name the user gave,
// which a failure names.
// The stored settings a new database starts with, so that a program reading
// them (which never writes them) finds them: the rent schedule's setting.
void StoreDefaultSettings(db::Connection& connection) {
  db::OwnTransaction transaction(connection);
  SettingStore(transaction.Get())
      .Write(schedule::DocInfoSettings::kSettingKey,
             std::to_string(schedule::DocInfoSettings::kSettingDefault));
  transaction.Commit();
}

void BuildDatabase(const db::ConnectParams& params, bool forcedWrites,
                   const std::vector<EmbeddedFile>& files, const std::string& shownPath,
                   Completion completion) {
  std::unique_ptr<db::Connection> connection = db::CreateFirebirdDatabase(params, false);
  ReclaimTerminationSignals();
  try {
    RunSchemaScripts(*connection, files);
    LoadRegisters(*connection, files);
    StopIfTerminationRequested();
    if (completion.recordVersion) {
      RecordSchemaVersion(*connection);
      StoreDefaultSettings(*connection);
    }
    if (completion.demoUser) AddAppUser(*connection, kDemoUser);
    connection->Close();
    if (forcedWrites) db::SetForcedWrites(params, true);
  } catch (const std::exception& e) {
    RemoveHalfMadeDatabase(*connection, params);
    if (dynamic_cast<const TerminationRequestedError*>(&e)) throw;
    throw Error("Базата данни " + shownPath + " не можа да се създаде; нищо не е запазено.\n" +
                e.what());
  }
}

}  // namespace

void RunSchemaScripts(db::Connection& connection, const std::vector<EmbeddedFile>& files) {
  std::vector<EmbeddedFile> scripts;
  for (const EmbeddedFile& file : files) {
    if (file.name.find('/') == std::string_view::npos && file.name.ends_with(kScriptSuffix)) {
      scripts.push_back(file);
    }
  }
  std::sort(scripts.begin(), scripts.end(),
            [](const EmbeddedFile& a, const EmbeddedFile& b) { return a.name < b.name; });
  for (const EmbeddedFile& file : scripts) {
    for (const std::string& statement : db::SplitSqlScript(std::string(file.text))) {
      StopIfTerminationRequested();
      try {
        db::OwnTransaction transaction(connection);
        SchemaStore(transaction.Get()).Run(statement);
        transaction.Commit();
      } catch (const db::DbError& e) {
        throw db::DbError("sql/" + std::string(file.name) + ": " + e.what() +
                          "\nStatement: " + statement);
      }
    }
  }
}

void LoadRegisters(db::Connection& connection, const std::vector<EmbeddedFile>& files) {
  db::OwnTransaction transaction(connection);
  const RegisterLoadStore store(transaction.Get());
  for (const RegisterFile& reg : kRegisters) {
    StopIfTerminationRequested();
    const RegisterData data = ReadRegister(reg.table, FileText(files, reg.file));
    store.Insert(reg.table, data.columns, data.rows);
  }
  StopIfTerminationRequested();
  transaction.Commit();
}

namespace {

void Create(const db::ConnectParams& params, bool forcedWrites,
            const std::vector<EmbeddedFile>& files, Completion completion) {
  const std::string& path = params.serverName;
  if (path.empty()) throw Error("Не е даден път до базата данни.");
  if (!IsLocalPath(path)) {
    BuildDatabase(params, forcedWrites, files, path, completion);
    return;
  }
  // A local file is made under a name of its own and renamed when complete:
  // a process killed on the way leaves no file that looks like a database.
  PrepareLocalFile(path);
  RemoveStaleParts(path);
  const fs::path part = PartName(path, getpid());
  db::ConnectParams partParams = params;
  partParams.serverName = part.string();
  BuildDatabase(partParams, forcedWrites, files, path, completion);
  MoveIntoPlace(part, path);
}

}  // namespace

void CreatePropertyDatabase(const db::ConnectParams& params, bool forcedWrites, bool demoUser) {
  Create(params, forcedWrites, EmbeddedSchemaFiles(),
         {.recordVersion = true, .demoUser = demoUser});
}

void CreatePropertyDatabase(const db::ConnectParams& params, bool forcedWrites,
                            const std::vector<EmbeddedFile>& files) {
  Create(params, forcedWrites, files, {});
}

db::ConnectParams AdministratorParams(const std::string& path) {
  const char* user = std::getenv("ISC_USER");
  const char* password = std::getenv("ISC_PASSWORD");
  return {user && *user ? user : kOwner, password && *password ? password : kOwnerPassword, path};
}

void CreatePropertyDatabase(const std::string& path, bool demoUser) {
  CreatePropertyDatabase(AdministratorParams(path), true, demoUser);
}

}  // namespace zrv::app
