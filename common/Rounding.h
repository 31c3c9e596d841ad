#pragma once
// Rounding to the nearest integer with halves to the even neighbour (banker's
// rounding), the rounding of month counts and of computed amounts to cents; and
// the text of an amount written into a statement.

#include <string>

namespace zrv {

// Nearest whole number; a value exactly halfway goes to the even one (2.5 ->
// 2, 3.5 -> 4, -2.5 -> -2). Independent of the floating-point rounding mode.
double RoundHalfEven(double value);

// The amount with two decimals and "." for a statement, rounded half away from
// zero on its shortest decimal form: 2.675 (stored in binary a little below
// the half) gives "2.68", -0.125 gives "-0.13", 0.004 gives "0.00". So a price
// typed with three decimals is stored as a person rounds it, and the schedule
// built from the stored price charges the same. Never "-0.00".
std::string AmountText(double value);

// Amounts from 10^17 on (or not finite) do not go into a statement: the
// engine cannot read a number literal of that many digits.
bool IsStorableAmount(double value);

}  // namespace zrv
