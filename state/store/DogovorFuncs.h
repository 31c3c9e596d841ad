#pragma once
// Contract-level payment housekeeping.

#include <cstdint>

#include "platform/db/Database.h"

namespace zrv::state {

class TDogovorFuncs {
 public:
  // Deletes the contract's payments of pay type 1 numbered above 0 that no
  // invoice owns, with their PayDetails rows. Starts a transaction only when
  // none is open and commits only that one; on an error rolls back only what it
  // started and raises the error again. Gives the number of payments deleted.
  static int DeleteUnlinkedPayments(db::Connection& connection, int32_t contractId);
};

}  // namespace zrv::state
