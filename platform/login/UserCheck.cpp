#include "platform/login/UserCheck.h"

#include <exception>

#include "common/Text.h"
#include "platform/db/Database.h"
#include "platform/db/Firebird.h"

namespace zrv::login {

namespace {
const char* const kSelectUsers = "SELECT user_id, user_name FROM app_users";
const char* const kUnknownUser = "Непознат потребител.";
const char* const kNoDatabase = "Няма връзка с базата данни: ";
}  // namespace

bool CheckUser(const std::string& serverName, const std::string& userName,
               const std::string& password, int32_t& userId,
               std::string& problem) {
  try {
    auto connection = db::MakeFirebirdConnection();
    connection->Open({userName, password, serverName});
    // The users table is small; comparing here keeps the rule of letter case
    // the program's own.
    auto query = connection->NewQuery();
    query->SetSQL(kSelectUsers);
    query->Open();
    const std::string wanted = UpperCase(Trim(userName));
    for (; !query->Eof(); query->Next()) {
      if (UpperCase(Trim(query->FieldByName("user_name").AsString())) ==
          wanted) {
        userId = query->FieldByName("user_id").AsInteger();
        return true;
      }
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
