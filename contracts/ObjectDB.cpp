#include "contracts/ObjectDB.h"

#include <memory>

#include "contracts/store/PropertyStore.h"
#include "platform/db/Transaction.h"

namespace zrv::contracts {

TObektDB::TObektDB(db::Connection& db) : db_(db) { Clear(); }

void TObektDB::Clear() {
  ID = -1;
  SettlementID = -1;
  MasivNo = 0;
  NparText.clear();
  NN = 0;
  NI = 0;
  RkvText.clear();
  RparText.clear();
  NTP = 0;
  VTP = 0;
  LocalityID = -1;
  QuarterID = -1;
  StreetID = -1;
  Address.clear();
  Area = 0;
  ImType = -1;
  AddressNo.clear();
  Description.clear();
  Borders.clear();
  ImZone = -1;
  ZutType.clear();
}

bool TObektDB::Insert() {
  db::OwnTransaction transaction(db_);
  Insert(transaction.Get());
  transaction.Commit();
  return true;
}

bool TObektDB::Insert(db::Transaction& tx) {
  ID = PropertyStore(tx).Insert(*this);
  return true;
}

bool TObektDB::HasCadastralId() const {
  return !NparText.empty() && (NparText != "0" || MasivNo != 0 || NN != 0 || NI != 0);
}

int32_t TObektDB::FindByNpar(db::Connection& db, const TObektDB& wanted) {
  if (!wanted.HasCadastralId()) return -1;
  db::OwnTransaction transaction(db);
  const int32_t id = PropertyStore(transaction.Get()).FindByCadastralId(wanted);
  transaction.Commit();
  return id;
}

}  // namespace zrv::contracts
