#include "platform/login/UserCheck.h"

#include <exception>
#include <optional>

#include "platform/db/Database.h"
#include "platform/db/Firebird.h"
#include "platform/db/Transaction.h"
#include "platform/login/store/UserLookupStore.h"

namespace zrv::login {

namespace {
const char* const kUnknownUser = "Непознат потребител.";
const char* const kNoDatabase = "Няма връзка с базата данни: ";
}  // namespace

bool CheckUser(const std::string& serverName, const std::string& userName,
               const std::string& password, int32_t& userId, std::string& problem) {
  try {
    auto connection = db::MakeFirebirdConnection();
    connection->Open({userName, password, serverName});
    db::OwnTransaction transaction(*connection);
    const std::optional<int32_t> found = UserLookupStore(transaction.Get()).FindUserId(userName);
    transaction.Commit();
    if (found) {
      userId = *found;
      return true;
    }
    problem = kUnknownUser;
  } catch (const db::DatabaseBusyError&) {
    problem = std::string(db::kDatabaseBusy) + ": " + serverName;
  } catch (const db::NoAnswerError& e) {
    problem = e.what();  // names the database already
  } catch (const std::exception& e) {
    problem = kNoDatabase + std::string(e.what());
  }
  return false;
}

}  // namespace zrv::login
