#pragma once
// The classifier tables a run may add entries to, as the run history sees
// them: an entry's text, how many rows use it, and its removal.

#include <string>

namespace zrv::import {

struct EntryTable {
  const char* name;         // as the run's items name it, e.g. "ul_kl"
  const char* selectText;   // one parameter :id
  const char* countUses;    // one parameter :id; rows of other tables using it
  const char* deleteEntry;  // one parameter :id
};

// The table named `name`; nullptr for a name no run writes.
const EntryTable* FindEntryTable(const std::string& name);

}  // namespace zrv::import
