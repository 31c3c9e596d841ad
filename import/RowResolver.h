#pragma once
// The second stage of a contract row: the groups of a ContractRow resolved, in
// the order the row reports them (representative, tenant, contract, property),
// into the run's person records, contract and property: stored persons and
// properties found, classifier texts turned into ids (an entry added is
// committed apart from the row). A group is resolved only while the groups
// before it were valid, and only the lines of the groups resolved reach the
// error list; a person's own cells report only when the person is new.
//
// The person records carry the fields a row does not set over to the next row;
// the contract and property are cleared by the caller before each row.

#include "contracts/BaseDoc.h"
#include "contracts/ObjectDB.h"
#include "contracts/PersonTasks.h"
#include "contracts/RentKinds.h"
#include "import/ContractRow.h"
#include "import/ErrorList.h"
#include "import/RowLookups.h"

namespace zrv::import {

// The run's records a row is resolved into.
struct RowRecords {
  contracts::TPersonSrchRec& representative;
  contracts::TPersonSrchRec& tenant;
  contracts::TBaseDoc& contract;
  contracts::TObektDB& property;
};

class RowResolver {
 public:
  // Everything given must outlive the resolver. `rentKinds` keeps the folder
  // of the last rent kind that matched, from row to row.
  RowResolver(RowLookups& lookups, ErrorList& errors, contracts::RentKinds& rentKinds);

  // Resolves `row` into `records`, adding the lines of the groups resolved;
  // the contract's PropertyID is the stored property found through Z or the
  // cadastral identifier, or -1. True when the row can be stored. Database
  // errors travel on.
  bool Resolve(const ContractRow& row, RowRecords records);

 private:
  int32_t FindPerson(const std::string& number);
  bool ResolveRepresentative(const ContractRow& row, contracts::TPersonSrchRec& rep);
  bool ResolveTenant(const ContractRow& row, contracts::TPersonSrchRec& tenant,
                     contracts::TPersonSrchRec& rep);
  bool ResolveContract(const ContractRow& row, contracts::TBaseDoc& contract);
  bool ResolveProperty(const ContractRow& row, contracts::TObektDB& property);

  RowLookups& lookups_;
  ErrorList& errors_;
  contracts::RentKinds& rentKinds_;
};

}  // namespace zrv::import
