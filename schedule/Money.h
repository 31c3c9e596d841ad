#pragma once
// Amounts rounded to cents, halves to the even cent.

#include "common/Rounding.h"

namespace zrv {

inline double RoundMoney(double amount) { return RoundHalfEven(amount * 100) / 100; }

}  // namespace zrv
