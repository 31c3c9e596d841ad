#pragma once
// What identifies a contract read from a workbook row, so that reading the
// same workbook again does not store its contracts twice: the terms a stored
// contract is compared with, and the key two workstations claim (the
// statements are ContractStore's).

#include <cstdint>
#include <string>
#include <vector>

#include "contracts/BaseDoc.h"
#include "contracts/ObjectDB.h"

namespace zrv::contracts {

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

}  // namespace zrv::contracts
