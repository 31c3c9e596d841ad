#pragma once
// A stored contract's register number by its id.

#include <cstdint>
#include <string>

#include "platform/db/Database.h"

namespace zrv::state {

// The number (doc_nomtxt) of contract `id`; false when no such contract exists.
bool FindContractNumber(db::Connection& connection, int32_t id, std::string& number);

}  // namespace zrv::state
