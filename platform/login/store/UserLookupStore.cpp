#include "platform/login/store/UserLookupStore.h"

#include <memory>

#include "common/Text.h"

namespace zrv::login {
namespace {

const char* const kSelectUsers = "SELECT user_id, user_name FROM app_users";

}  // namespace

std::optional<int32_t> UserLookupStore::FindUserId(const std::string& userName) const {
  // The users table is small; comparing here keeps the rule of letter case
  // the program's own.
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectUsers);
  query->Open();
  const std::string wanted = UpperCase(Trim(userName));
  for (; !query->Eof(); query->Next()) {
    if (UpperCase(Trim(query->FieldByName("user_name").AsString())) == wanted)
      return query->FieldByName("user_id").AsInteger();
  }
  return std::nullopt;
}

}  // namespace zrv::login
