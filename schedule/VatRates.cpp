#include "schedule/VatRates.h"

namespace zrv::schedule {

VatRateTable& ProcessVatRates() {
  static VatRateTable table;
  return table;
}

}  // namespace zrv::schedule
