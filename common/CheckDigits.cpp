// Check digits of personal numbers, and which identity numbers carry any.

#include <algorithm>

#include "common/Text.h"

namespace zrv {

namespace {

bool AllDigits(const std::string& text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Weighted sum of the first nine digits.
int WeightedSum(const std::string& digits, const int (&weights)[9]) {
  int sum = 0;
  for (int i = 0; i < 9; ++i) sum += (digits[i] - '0') * weights[i];
  return sum;
}

}  // namespace

bool IsValidPersonalNumber(const std::string& digits) {
  if (digits.size() != 10 || !AllDigits(digits)) return false;
  const int last = digits[9] - '0';
  // A citizen's number: sum mod 11, where 10 stands for 0.
  static const int kCitizen[9] = {2, 4, 8, 5, 10, 9, 7, 3, 6};
  const int citizen = WeightedSum(digits, kCitizen) % 11 % 10;
  // A foreigner's number: sum mod 10.
  static const int kForeigner[9] = {21, 19, 17, 13, 11, 9, 7, 3, 1};
  const int foreigner = WeightedSum(digits, kForeigner) % 10;
  return last == citizen || last == foreigner;
}

bool HasWrongCheckDigit(const std::string& text) {
  if (!AllDigits(text)) return false;
  switch (text.size()) {
    case 9:
    case 13:
      return !IsValidBulstat(text);
    case 10:
      return !IsValidPersonalNumber(text);
    default:
      return false;
  }
}

std::string WithoutBlanks(const std::string& text) {
  static const std::string kNoBreakSpace = "\xC2\xA0";
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ') continue;
    if (text.compare(i, kNoBreakSpace.size(), kNoBreakSpace) == 0) {
      ++i;
      continue;
    }
    out += text[i];
  }
  return out;
}

}  // namespace zrv
