// Numbers typed by people into worksheet cells and edit boxes.

#include <charconv>
#include <cmath>

#include "common/Text.h"

namespace zrv {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Optional sign, digits with at most one decimal point (at least one digit),
// optional exponent.
bool IsPlainFloat(const std::string& s) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (IsDigit(s[i])) {
      ++digits;
    } else if (s[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == s.size();
}

}  // namespace

bool TryParseFloat(const std::string& text, double& out) {
  out = 0.0;
  std::string s;
  s.reserve(text.size());
  for (char c : text) {
    if (c == ' ') continue;
    s += c == ',' ? '.' : c;
  }
  if (!IsPlainFloat(s)) return false;
  // from_chars reads no leading '+' and ignores the locale.
  const char* begin = s.data() + (s[0] == '+' ? 1 : 0);
  const char* end = s.data() + s.size();
  double value = 0.0;
  const auto result = std::from_chars(begin, end, value);
  if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) return false;
  out = value;
  return true;
}

bool TryParseInt(const std::string& text, int32_t& out) {
  out = 0;
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  if (begin < end && text[begin] == '+') {
    ++begin;
    if (begin >= end || !IsDigit(text[begin])) return false;
  }
  int32_t value = 0;
  const auto result = std::from_chars(text.data() + begin, text.data() + end, value);
  if (result.ec != std::errc() || result.ptr != text.data() + end) return false;
  out = value;
  return true;
}

}  // namespace zrv
