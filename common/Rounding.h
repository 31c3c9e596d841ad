#pragma once
// Rounding to the nearest integer with halves to the even neighbour (banker's
// rounding), the rounding of month counts and of amounts to cents.

namespace zrv {

// Nearest whole number; a value exactly halfway goes to the even one (2.5 ->
// 2, 3.5 -> 4, -2.5 -> -2). Independent of the floating-point rounding mode.
double RoundHalfEven(double value);

}  // namespace zrv
