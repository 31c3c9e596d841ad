#pragma once
// The stored contracts with a given register number (doc_nomtxt), for asking
// for a contract by the number clerks know rather than by its id.

#include <cstdint>
#include <string>
#include <vector>

#include "common/Dates.h"
#include "platform/db/Database.h"

namespace zrv::state {

// One contract with the number: enough to tell two of them apart.
struct ContractWithNumber {
  int32_t id = 0;
  TDate drawnUp = 0;   // doc_data; 0 when not set
  TDate start = 0;     // doc_datastart
  TDate stop = 0;      // doc_datastop
  std::string tenant;  // the tenant's name; empty when none
};

// Every contract whose number is `number` exactly, in the order of their ids.
std::vector<ContractWithNumber> FindContractsByNumber(db::Connection& connection,
                                                      const std::string& number);

}  // namespace zrv::state
