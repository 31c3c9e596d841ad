#pragma once
// Whether a contract read from a workbook row is stored already, so that
// reading the same workbook again does not store its contracts twice.

#include <cstdint>
#include <string>
#include <vector>

#include "contracts/BaseDoc.h"
#include "contracts/ObjectDB.h"
#include "platform/db/Database.h"

namespace zrv::contracts {

// The doc_id of a stored contract of the same type with the same number
// (doc_nomtxt) and date (doc_data), let to the same tenant (`tenantId`, -1 for
// a tenant not stored yet) and on the same property: contract.PropertyID when
// the row found a stored property, otherwise a stored property with the same
// settlement, cadastral groups, locality, quarter, street, street number and
// address as `property`. -1 when there is none. Database errors travel on.
int32_t FindStoredContract(db::Connection& db, const TBaseDoc& contract,
                           const TObektDB& property, int32_t tenantId);

// What a stored contract's row is compared with when the row is imported again:
// its start, stop and monthly price, and its annexes by number.
struct StoredAnnex {
  int32_t number = 0;
  TDate start = 0;  // whole day
  double price = 0;
};
struct StoredTerms {
  TDate start = 0;
  TDate stop = 0;
  double price = 0;
  std::vector<StoredAnnex> annexes;  // by annex number, annex 1 first
};

// The terms of contract `docId` as stored (nothing of a contract that does not
// exist). Database errors travel on.
StoredTerms LoadStoredTerms(db::Connection& db, int32_t docId);

// Two workstations importing the same row at once both find nothing above
// (neither sees the other's uncommitted contract). Each therefore claims the
// row's contract key in the transaction that stores the contract: the second
// claim waits for the first transaction and fails once that one commits.

// The contract as the row gives it, as one text: type, number, date, the
// tenant's identity number (`tenantNumber`) and the property's settlement,
// cadastral groups, locality, quarter, street, street number and address.
// Never a stored property's or person's id: whether one is found depends on
// what the other workstation has committed by then, and the two must give the
// same row the same key. Each part carries its
// length, so no two different rows give the same text. Empty when the key
// column cannot hold the text (a reused property's texts are not checked).
std::string ContractKey(const TBaseDoc& contract, const TObektDB& property,
                        const std::string& tenantNumber);

// Whether the database keeps contract keys (databases made before the table
// was added do not; their imports rely on the look-up alone).
bool HasContractKeys(db::Connection& db);

// Claims `key` in the open transaction; false when a committed contract holds
// it (possibly one a moment ago, after waiting for its transaction).
bool ClaimContractKey(db::Connection& db, const std::string& key);

// Ties a claimed key to the contract stored under it, so that deleting or
// changing that contract frees the key.
void TieContractKey(db::Connection& db, const std::string& key, int32_t docId);

}  // namespace zrv::contracts
