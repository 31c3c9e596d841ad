#include "common/Rounding.h"

#include <charconv>
#include <cmath>

namespace zrv {

namespace {
constexpr double kAmountLimit = 1e17;
}  // namespace

double RoundHalfEven(double value) {
  const double lower = std::floor(value);
  const double diff = value - lower;
  if (diff > 0.5) return lower + 1.0;
  if (diff < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

std::string AmountText(double value) {
  // The shortest digits that read back as the same double: the decimal value
  // the cell showed.
  char buf[400];
  const auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
  std::string text(buf, written.ptr);
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) text.erase(0, 1);
  size_t point = text.find('.');
  if (point == std::string::npos) {
    point = text.size();
    text += '.';
  }
  text.append(3, '0');
  const bool roundUp = text[point + 3] >= '5';
  text.resize(point + 3);
  if (roundUp) {
    // Add one cent to the decimal digits, carrying leftwards.
    int i = static_cast<int>(text.size()) - 1;
    for (; i >= 0; --i) {
      if (text[i] == '.') continue;
      if (text[i] != '9') {
        ++text[i];
        break;
      }
      text[i] = '0';
    }
    if (i < 0) text.insert(text.begin(), '1');
  }
  if (negative && text.find_first_not_of("0.") != std::string::npos) text.insert(text.begin(), '-');
  return text;
}

bool IsStorableAmount(double value) {
  return std::isfinite(value) && std::fabs(value) < kAmountLimit;
}

}  // namespace zrv
