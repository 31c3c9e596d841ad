#include "common/Rounding.h"

#include <cmath>

namespace zrv {

double RoundHalfEven(double value) {
  const double lower = std::floor(value);
  const double diff = value - lower;
  if (diff > 0.5) return lower + 1.0;
  if (diff < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

}  // namespace zrv
