#include "schedule/AnnexesAsStored.h"

#include <cmath>
#include <string>

#include "common/Rounding.h"

namespace zrv::schedule {
namespace {

// An amount as its column holds it: written as two-decimal text, which the
// server converts to the nearest double as strtod does.
double StoredAmount(double value) { return std::stod(AmountText(value)); }

TAnecsRow AsStored(const TAnecsRow& written) {
  TAnecsRow row = written;
  row.AN_PRICE = StoredAmount(written.AN_PRICE);
  row.AN_AddPrice = StoredAmount(written.AN_AddPrice);
  row.AN_LPercent = StoredAmount(written.AN_LPercent);
  row.AN_LMAX = StoredAmount(written.AN_LMAX);
  row.AN_DTStart = std::trunc(written.AN_DTStart);
  row.AN_DTStop = std::trunc(written.AN_DTStop);
  row.AN_FreeDate = std::trunc(written.AN_FreeDate);
  DecodePayDay(row.AN_PayDay, row.PayDay, row.PayMonth);
  return row;
}

}  // namespace

void AnnexesAsStored::AddFirst(const TAnecsRow& annex) {
  annexes_.Clear();
  annexes_.Append(AsStored(annex));
}

void AnnexesAsStored::Add(const TAnecsRow& annex) {
  TAnecsRow row = AsStored(annex);
  if (!annexes_.Empty()) annexes_.At(annexes_.Count() - 1).AN_DTStop = row.AN_DTStart - 1;
  annexes_.Append(row);
}

}  // namespace zrv::schedule
