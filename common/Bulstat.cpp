// Check digits of the unified identification code (BULSTAT) of a firm.

#include "common/Text.h"

namespace zrv {

namespace {

// Weighted sum mod 11; 10 means "try the second weights", and 10 again means 0.
int CheckDigit(const int* digits, const int* weights, const int* fallbackWeights, int count) {
  int sum = 0;
  for (int i = 0; i < count; ++i) sum += digits[i] * weights[i];
  int r = sum % 11;
  if (r != 10) return r;
  sum = 0;
  for (int i = 0; i < count; ++i) sum += digits[i] * fallbackWeights[i];
  r = sum % 11;
  return r == 10 ? 0 : r;
}

}  // namespace

bool IsValidBulstat(const std::string& text) {
  // Only the digits count, in their order; letters ("BG"), blanks and
  // punctuation are dropped.
  int digits[13];
  int count = 0;
  for (char c : text) {
    if (c < '0' || c > '9') continue;
    if (count == 13) return false;
    digits[count++] = c - '0';
  }
  if (count != 9 && count != 13) return false;

  static const int kFirst[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  static const int kFirstFallback[8] = {3, 4, 5, 6, 7, 8, 9, 10};
  if (CheckDigit(digits, kFirst, kFirstFallback, 8) != digits[8]) return false;
  if (count == 9) return true;

  static const int kSecond[4] = {2, 7, 3, 5};
  static const int kSecondFallback[4] = {4, 9, 5, 7};
  return CheckDigit(digits + 8, kSecond, kSecondFallback, 4) == digits[12];
}

}  // namespace zrv
