#include "app/SchemaCatalog.h"

#include "app/store/SchemaStore.h"
#include "platform/db/Transaction.h"

namespace zrv::app {

SchemaCatalog ReadSchemaCatalog(db::Connection& db) {
  db::OwnTransaction transaction(db);
  SchemaCatalog catalog = SchemaStore(transaction.Get()).ReadCatalog();
  transaction.Commit();
  return catalog;
}

}  // namespace zrv::app
