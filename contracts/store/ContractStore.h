#pragma once
// The statements of documents, of a contract's first annex and of
// contract_keys, in a transaction the caller gives: a contract added, rewritten
// and read back; a stored contract found again by what a workbook row gives;
// the key that lets two workstations store one contract once.

#include <cstdint>
#include <string>

#include "contracts/BaseDoc.h"
#include "contracts/ObjectDB.h"
#include "contracts/StoredContract.h"
#include "platform/db/Database.h"
#include "schedule/Anecs.h"

namespace zrv::contracts {

class ContractStore {
 public:
  explicit ContractStore(db::Transaction& tx) : tx_(tx) {}

  // Adds the contract row (written by user `userId`) and gives its new doc_id
  // (the greatest, read back in the same transaction). Texts the database
  // cannot hold are refused with zrv::Error before the statement runs.
  int32_t Insert(const TBaseDoc& contract, int32_t userId) const;
  // Annex 1 of the stored contract: its own price, period and terms.
  void InsertFirstAnnex(const TBaseDoc& contract) const;
  // Rewrites the row of contract.DocID (type, property, application, da_sf6,
  // user and initial sum stay as stored) and its annex 1 (dated today), and
  // closes its latest annex on the contract's stop.
  void Update(const TBaseDoc& contract) const;

  // Reads the row of contract `id` into `contract` (zeros and empty texts for
  // an id no contract has), then its tenant's and representative's names.
  void LoadHeader(int32_t id, TBaseDoc& contract) const;
  void LoadTenantNames(TBaseDoc& contract) const;
  // Every annex of contract `docId`, in annex-number order.
  void LoadAnnexes(int32_t docId, schedule::TAnecses& annexes) const;

  // The doc_id of a stored contract of the same type with the same number
  // (doc_nomtxt) and date (doc_data), let to the same tenant (`tenantId`, -1 for
  // a tenant not stored yet) and on the same property: contract.PropertyID when
  // the row found a stored property, otherwise a stored property with the same
  // settlement, cadastral groups, locality, quarter, street, street number and
  // address as `property`. -1 when there is none. Database errors travel on.
  int32_t FindStored(const TBaseDoc& contract, const TObektDB& property, int32_t tenantId) const;
  // The start, stop, price and annexes of stored contract `docId`.
  StoredTerms LoadTerms(int32_t docId) const;
  // The property of the last stored document of type 8, 10 or 12 with
  // exactly this number, or -1.
  int32_t PropertyOfDocument(const std::string& number) const;

  // Claims `key` (ContractKey); false when a committed contract holds it
  // (possibly one a moment ago, after waiting for its transaction).
  bool ClaimKey(const std::string& key) const;
  // Ties a claimed key to the contract stored under it, so that deleting or
  // changing that contract frees the key.
  void TieKey(const std::string& key, int32_t docId) const;

 private:
  db::Transaction& tx_;
};

// Whether the database keeps contract keys, and person and property keys
// (databases made before the tables were added do not, until they are
// upgraded; their imports rely on the look-ups alone).
bool HasContractKeys(db::Transaction& tx);
bool HasRegisterKeys(db::Transaction& tx);

}  // namespace zrv::contracts
