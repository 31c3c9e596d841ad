#include "app/DatabaseConnection.h"

#include <filesystem>
#include <new>

#include "app/DetachedQuery.h"
#include "app/TerminationSignals.h"
#include "platform/db/Firebird.h"

namespace zrv::app {

namespace {
const char kConnectErrorPrefix[] = "Грешка при свързване към БД (";
const char kConnectErrorSuffix[] = ")\r";
const char kNoDatabase[] = "Няма база данни ";
const char kCreateDatabase[] = " (създава се със „zorvit db init --database ";
const char kCreateDatabaseEnd[] = "“).";
}  // namespace

bool ConnectDatabase(db::Connection& connection, const std::string& userName,
                     const std::string& password, const std::string& serverName,
                     std::string& errorText) {
  errorText.clear();
  try {
    connection.Close();
    connection.Open(db::ConnectParams{userName, password, serverName});
    ReclaimTerminationSignals();
    return true;
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    errorText = kConnectErrorPrefix + serverName + kConnectErrorSuffix + e.what();
    return false;
  }
}

std::string MissingDatabase(const std::string& serverName) {
  // A "host:/path" name is the server's to check.
  if (db::IsServerName(serverName)) return {};
  std::error_code ignored;
  if (std::filesystem::is_regular_file(serverName, ignored)) return {};
  return kNoDatabase + serverName + kCreateDatabase + serverName + kCreateDatabaseEnd;
}

std::string DatabaseProblem(const std::string& serverName) {
  if (db::IsServerName(serverName)) return {};
  const std::string missing = MissingDatabase(serverName);
  if (!missing.empty()) return missing;
  try {
    auto probe = db::MakeFirebirdConnection();
    probe->Open(db::ConnectParams{"SYSDBA", "", serverName});
  } catch (const db::DatabaseBusyError&) {
    return std::string(db::kDatabaseBusy) + ": " + serverName;
  } catch (const db::NoAnswerError& e) {
    return e.what();
  } catch (const db::DbError&) {
    // Refused for another reason: the login that follows says why.
  }
  return {};
}

std::unique_ptr<db::Query> NewQuery(db::Connection* connection) {
  if (connection) return connection->NewQuery();
  return std::make_unique<DetachedQuery>();
}

}  // namespace zrv::app
