#include "app/DatabaseConnection.h"

#include <new>

#include "app/DetachedQuery.h"

namespace zrv::app {

namespace {
const char kConnectErrorPrefix[] = "Грешка при свързване към БД (";
const char kConnectErrorSuffix[] = ")\r";
}  // namespace

bool ConnectDatabase(db::Connection& connection, const std::string& userName,
                     const std::string& password, const std::string& serverName,
                     std::string& errorText) {
  errorText.clear();
  try {
    connection.Close();
    connection.Open(db::ConnectParams{userName, password, serverName});
    return true;
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    errorText =
        kConnectErrorPrefix + serverName + kConnectErrorSuffix + e.what();
    return false;
  }
}

std::unique_ptr<db::Query> NewQuery(db::Connection* connection) {
  if (connection) return connection->NewQuery();
  return std::make_unique<DetachedQuery>();
}

}  // namespace zrv::app
