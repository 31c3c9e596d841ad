#include "contracts/PersonTasks.h"

#include <memory>

#include "contracts/store/PersonStore.h"
#include "platform/db/Transaction.h"

namespace zrv::contracts {
namespace {

const char* const kMsgNoDatabase = "uPersonTasks: DB not init.";

}  // namespace

db::Connection& PersonTasks::Database() const {
  if (db_ == nullptr) throw Error(kMsgNoDatabase);
  return *db_;
}

int32_t PersonTasks::FindByEGN(const std::string& egn) const {
  db::OwnTransaction transaction(Database());
  const int32_t id = PersonStore(transaction.Get()).FindByEgn(egn);
  transaction.Commit();
  return id;
}

int32_t PersonTasks::FindRepresentative(int32_t personId, const std::string& name) const {
  db::OwnTransaction transaction(Database());
  const int32_t id = PersonStore(transaction.Get()).FindRepresentative(personId, name);
  transaction.Commit();
  return id;
}

int32_t PersonTasks::InsertPerson(TPersonSrchRec person) const {
  if (person.EGN.empty() && person.Name.empty()) return -1;
  db::OwnTransaction transaction(Database());
  const int32_t id = PersonStore(transaction.Get()).Insert(person);
  transaction.Commit();
  return id;
}

bool PersonTasks::HasObjectUnits(int32_t personId) const {
  db::OwnTransaction transaction(Database());
  const int32_t count = PersonStore(transaction.Get()).CountObjectUnits(personId);
  transaction.Commit();
  return count > 0;
}

}  // namespace zrv::contracts
