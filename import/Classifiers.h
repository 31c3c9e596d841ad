#pragma once
// Classifier resolution: the texts a worksheet row names (municipality,
// settlement, locality, residential quarter, street, object type, rent type)
// become the ids the property and contract rows store. A text is looked up
// without regard to letter case, first in the transaction the caller gives
// (the row's), then among the entries committed since; a text not there yet is
// added with the next free id (the greatest id + 1) in a short transaction of
// its own, committed at once, so it stays even when the row that named it is
// not stored.
//
// A Classifiers object works for one run on the run's state, the entry
// transactions, the message boxes and the rent-type table; all of them must
// outlive it. A failed insert rolls back, shows the table's message and throws
// the error on; look-up errors travel to the caller without a message.
// Single-threaded.

#include <cstdint>
#include <string>

#include "contracts/RentTypes.h"
#include "import/EntryTransactions.h"
#include "import/RunState.h"
#include "platform/db/Database.h"
#include "platform/ui/Messages.h"

namespace zrv::import {

class Classifiers {
 public:
  Classifiers(EntryTransactions& entries, ui::Messages& messages, ImportRunState& state,
              contracts::RentTypeTable& rentTypes);
  Classifiers(const Classifiers&) = delete;
  Classifiers& operator=(const Classifiers&) = delete;

  // Checks the typed name against the municipality register. Not found: shows
  // "Невалидна община" and gives false, changing nothing. Found: fills the
  // municipality's EKNM and code, finds or adds its obsh_kl row, keeps its id
  // and the name as typed, gives true.
  bool CheckMunicipality(db::Transaction& tx, const std::string& name);

  // Replaces the run's settlements by the register's settlements of the
  // municipality's code.
  void LoadSettlements(db::Transaction& tx);

  // Index of the first settlement whose upper-cased name occurs inside the
  // upper-cased text, or -1; an empty name never matches.
  int FindSettlement(const std::string& text) const;

  // The nm_kl id of the settlement the text names, the row added when missing;
  // -1 for a text that is empty after trimming. When a register settlement
  // occurs in the text, the text is replaced by the register's name and a new
  // row carries its EKNM code.
  int32_t GetSettlementID(db::Transaction& tx, std::string& text);

  // Ids of the locality, residential quarter and street classifiers (16-bit:
  // the width of the property columns they fill; an id beyond that range is
  // refused with zrv::Error).
  int16_t GetLocalityID(db::Transaction& tx, const std::string& text);
  int16_t GetQuarterID(db::Transaction& tx, const std::string& text);
  int16_t GetStreetID(db::Transaction& tx, const std::string& text);
  // Id of the object type among the application's object types.
  int32_t GetObjectTypeID(db::Transaction& tx, const std::string& text);
  // Id of the rent type found in the rent-type table; a new one is added and
  // the table reloaded.
  int32_t GetRentTypeID(const std::string& text);

 private:
  EntryTransactions& entries_;
  ui::Messages& messages_;
  ImportRunState& state_;
  contracts::RentTypeTable& rentTypes_;
};

}  // namespace zrv::import
