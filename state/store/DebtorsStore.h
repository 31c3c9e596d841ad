#pragma once
// The statements that read many stored contracts at once for their state: the
// ids of the contracts a selection names, then for a range of those ids one
// statement per table, each giving the rows of every contract of the range in
// contract order, and the payments the state's clean-up would delete there.
// Nothing here writes.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/db/Database.h"

namespace zrv::state {

// Which contracts to read; an empty filter selects every contract.
struct ContractSelection {
  std::optional<int32_t> contractId;  // one contract only
  std::string municipality;           // the property's municipality, any letter case
  // The tenant's identity number, or a part of the tenant's name in any letter
  // case.
  std::string tenant;
  // The rent type's name in any letter case, or a contract type (DOC_TYPE)
  // when it is a number.
  std::string type;
};

// Who and what a contract is about, as a list of contracts shows it.
struct ContractFacts {
  int32_t id = 0;
  std::string number;        // doc_nomtxt
  std::string tenant;        // the tenant's name
  std::string tenantNumber;  // the tenant's identity number (ЕГН / ЕИК)
  std::string settlement;    // the property's settlement
  std::string municipality;  // the settlement's municipality
  // The property's cadastral identifier, its groups joined by full stops
  // (the settlement's code first); empty when the property has none.
  std::string cadastralId;
  // Payments of pay type 1 without an invoice that the state's clean-up would
  // delete; left out of the computation.
  int unlinkedPayments = 0;
};

// The open queries of one range of contract ids, each ordered by contract.
struct ContractBatch {
  std::unique_ptr<db::Query> header;  // the selected contracts, with the facts
  std::unique_ptr<db::Query> annexes;
  std::unique_ptr<db::Query> payments;
  std::unique_ptr<db::Query> rents;
  std::unique_ptr<db::Query> details;
  std::unique_ptr<db::Query> waitPayments;
  // Columns P_ID and P_NUM of the payments the clean-up would delete.
  std::unique_ptr<db::Query> unlinked;
};

class DebtorsStore {
 public:
  // Reads through `connection` in the caller's transaction (or, without one,
  // each statement in its own); both must outlive the store.
  DebtorsStore(db::Connection& connection, const ContractSelection& selection);

  // The ids of the selected contracts, ascending.
  std::vector<int32_t> SelectedIds() const;

  // The rows of the selected contracts with ids from `first` to `last`.
  ContractBatch OpenBatch(int32_t first, int32_t last) const;

  // The facts of the header query's current contract (unlinkedPayments 0).
  static ContractFacts ReadFacts(const db::Query& header);

 private:
  std::unique_ptr<db::Query> Selected(const std::string& columns, const std::string& range) const;
  std::unique_ptr<db::Query> Range(const char* sql, int32_t first, int32_t last) const;

  db::Connection& connection_;
  ContractSelection selection_;
};

}  // namespace zrv::state
