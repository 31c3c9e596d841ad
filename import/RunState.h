#pragma once
// What one import run knows besides its rows: the municipality the user typed,
// as checked against the register, and that municipality's settlements. Owned
// by the run; filled by the classifier resolution at the start of every run and
// left in place after it.

#include <cstdint>
#include <string>
#include <vector>

namespace zrv::import {

// One settlement of the register: its EKNM code and its name.
struct SettlementEntry {
  std::string EKNM;
  std::string Name;
};

struct ImportRunState {
  std::string MunicipalityName;              // as typed
  int32_t MunicipalityID = -1;               // obsh_kl.ob_id
  std::string MunicipalityEKNM;              // obsh_tbl.eknm
  std::string MunicipalityCode;              // obsh_tbl.ob_code
  std::vector<SettlementEntry> Settlements;  // in the order the database gave them
};

}  // namespace zrv::import
