#include "contracts/RentKinds.h"

namespace zrv::contracts {
namespace {

struct RentKind {
  const char* text;
  int16_t vatCode;
  const char* folder;
};

// Compared in this order; the first equal text wins.
const RentKind kRentKinds[] = {
    {"Наем помещение/сграда", 1201, "sgradi"}, {"Наем терен", 1200, "tereni"},
    {"Наем реклама", 1201, "reklami"},         {"Наем земеделска земя", 1200, "zemi"},
    {"Наем паркинг", 1201, "parkingi"},
};

}  // namespace

void RentKinds::ApplyRentKind(const std::string& rentKindText) {
  defaults_ = RentKindDefaults{};
  for (const RentKind& kind : kRentKinds) {
    if (rentKindText == kind.text) {
      defaults_.VATCode = kind.vatCode;
      folder_ = kind.folder;
      return;
    }
  }
}

}  // namespace zrv::contracts
