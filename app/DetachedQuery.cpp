#include "app/DetachedQuery.h"

namespace zrv::app {

namespace {
const char kNoDatabase[] = "The query is not attached to a database.";
}

void DetachedQuery::Execute() { throw db::DbError(kNoDatabase); }
void DetachedQuery::Open() { throw db::DbError(kNoDatabase); }
void DetachedQuery::First() { throw db::DbError(kNoDatabase); }
void DetachedQuery::Next() { throw db::DbError(kNoDatabase); }
void DetachedQuery::Last() { throw db::DbError(kNoDatabase); }

const db::Field& DetachedQuery::FieldAt(int index) const {
  throw db::DbError("Field index " + std::to_string(index) + " out of range.");
}

const db::Field& DetachedQuery::FieldByName(const std::string& name) const {
  throw db::DbError("Field '" + name + "' not found.");
}

}  // namespace zrv::app
