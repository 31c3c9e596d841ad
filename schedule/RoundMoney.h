#pragma once
// Rounding of money to cents, halves to even (0.125 -> 0.12, 0.375 -> 0.38),
// the rule of the rent schedule and of the contract state computations.

#include <cmath>

namespace zrv::schedule {

// Round(value × 100) / 100 with ties going to the even cent; the default
// floating-point rounding mode (to nearest, ties to even) is what nearbyint
// applies.
inline double RoundMoney(double value) { return std::nearbyint(value * 100.0) / 100.0; }

}  // namespace zrv::schedule
