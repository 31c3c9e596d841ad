#pragma once
// Late-payment interest on one amount over one span of days, with a Bulgarian
// explanation of the computation, one line per rate period. Pure computation:
// the base-rate table is handed in.
//
// Interest kinds (an annex's AN_LType):
//   0  no interest
//   1  base-rate periods plus a penalty percent, the whole times a
//      multiplier (AN_LMAX)
//   2  fixed annual percent on a 360-day year
//   3  daily percent, capped at AN_LMAX percent of the amount
//   4  kind 3 plus the base-rate periods with the penalty percent
//   other kinds: base-rate periods plus the penalty percent, no multiplier

#include <string>

#include "common/Dates.h"
#include "state/BaseRates.h"

namespace zrv::state {

// The interest of `amount` from `from` to `to` (both inclusive, whole days)
// under `kind`, with `percent` (AN_LPercent) and `limit` (AN_LMAX: multiplier
// of kind 1, cap of kinds 3 and 4). `rateDate` limits the base-rate table (0:
// every period). `text` is cleared and receives the explanation. A reversed
// span or kind 0 gives 0 and an empty text. The result is not rounded. Where
// the table has no usable period the base rate is 0: only the penalty percent
// is charged.
double ComputeInterest(const BaseRateTable& rates, int kind, std::string& text, double amount,
                       TDate from, TDate to, double percent, double limit, TDate rateDate);

// The figure of ComputeInterest without its explanation, for a caller that only
// needs the amount.
double InterestAmount(const BaseRateTable& rates, int kind, double amount, TDate from, TDate to,
                      double percent, double limit, TDate rateDate);

// Kind 3: `percent` of the amount per day, capped at `limit` percent of the
// amount when `limit` is positive. `text` becomes the one explanation line
// (ending in "\r\n").
double DailyInterest(std::string& text, double amount, TDate from, TDate to, double percent,
                     double limit);

// Whether interest of `kind` is charged from the base-rate table, so that a
// missing table changes it.
bool UsesBaseRates(int kind);

// Whether `kind` has the daily part that AN_LMAX caps (kinds 3 and 4).
bool HasCappedDailyPart(int kind);

}  // namespace zrv::state
