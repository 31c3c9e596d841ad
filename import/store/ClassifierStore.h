#pragma once
// The statements of the classifier tables the import finds and extends (each
// table's look-up, greatest id and insert, for ClassifierTable.h), of the
// register of municipalities and settlements, and the count of classifier rows.

#include <optional>
#include <string>
#include <vector>

#include "import/ClassifierTable.h"
#include "import/RunState.h"
#include "platform/db/Database.h"

namespace zrv::import {

const ClassifierTable& MunicipalityTable();  // obsh_kl
const ClassifierTable& SettlementTable();    // nm_kl, with its municipality
const ClassifierTable& LocalityTable();      // me_kl
const ClassifierTable& QuarterTable();       // jk_kl
const ClassifierTable& StreetTable();        // ul_kl
// objtype_kl, looked up among this application's object types.
const ClassifierTable& ObjectTypeTable();
// renttypes: looked up in the rent-type table, not by a statement.
const ClassifierTable& RentTypeEntryTable();

// A municipality of the register (obsh_tbl).
struct RegisterMunicipality {
  std::string eknm;
  std::string code;
};

class RegisterStore {
 public:
  explicit RegisterStore(db::Transaction& tx) : tx_(tx) {}

  // The municipality whose upper-cased register name is `upperName`.
  std::optional<RegisterMunicipality> FindMunicipality(const std::string& upperName) const;
  // The register's settlements of the municipality with `code`, in the order
  // the database gives them.
  std::vector<SettlementEntry> Settlements(const std::string& code) const;
  // The rows of the classifier tables a run may add to (municipalities,
  // settlements, localities, quarters, streets, object types, rent types).
  int CountClassifierRows() const;

 private:
  db::Transaction& tx_;
};

}  // namespace zrv::import
