#include "contracts/RegisterKeys.h"

#include <memory>

#include "contracts/StoredKeyText.h"

namespace zrv::contracts {
namespace {

const char* const kCountKeyTables =
    "SELECT COUNT(*) FROM rdb$relations\n"
    "WHERE rdb$relation_name IN ('PERSON_KEYS', 'PROPERTY_KEYS')";
const char* const kClaimPerson =
    "INSERT INTO person_keys (pk_egn, pk_perid) VALUES (:egn, :perid)";
const char* const kClaimProperty =
    "INSERT INTO property_keys (pk_key, pk_imid) VALUES (:key, :imid)";

void Claim(db::Connection& db, const char* sql, const char* keyParam,
           const std::string& key, const char* idParam, int32_t id) {
  std::unique_ptr<db::Query> query = db.NewQuery();
  query->SetSQL(sql);
  query->SetString(keyParam, key);
  query->SetInteger(idParam, id);
  query->Execute();
}

}  // namespace

bool HasRegisterKeys(db::Connection& db) {
  std::unique_ptr<db::Query> query = db.NewQuery();
  query->SetSQL(kCountKeyTables);
  query->Open();
  return query->FieldAt(0).AsInteger() == 2;
}

std::string PropertyKey(const TObektDB& property) {
  if (!property.HasCadastralId()) return std::string();
  KeyText key;
  key.Add(property.SettlementID);
  key.Add(property.MasivNo);
  key.Add(property.NparText);
  key.Add(property.NN);
  key.Add(property.NI);
  return key.Text();
}

void ClaimPersonKey(db::Connection& db, const std::string& egn,
                    int32_t personId) {
  if (egn.empty()) return;
  Claim(db, kClaimPerson, "egn", egn, "perid", personId);
}

void ClaimPropertyKey(db::Connection& db, const std::string& key,
                      int32_t propertyId) {
  if (key.empty()) return;
  Claim(db, kClaimProperty, "key", key, "imid", propertyId);
}

}  // namespace zrv::contracts
