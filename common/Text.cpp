#include "common/Text.h"

#include <locale.h>

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "common/Utf8.h"

namespace zrv {

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The upper-case letter of a code point as the database's UPPER gives it on the
// text columns (WIN1251, collation PXW_CYRL): Latin a-z, Cyrillic а-я and ё.
// That collation leaves the other Cyrillic letters of the code page (ђ ѓ љ њ ќ
// ћ џ ў ј ґ є ї і ѕ) as they are, and so do we, so that a value upper-cased
// here still equals UPPER(column) in a query.
char32_t UpperCodePoint(char32_t cp) {
  if (cp >= U'a' && cp <= U'z') return cp - (U'a' - U'A');
  if (cp >= 0x0430 && cp <= 0x044F) return cp - 0x20;
  if (cp == 0x0451) return 0x0401;
  return cp;
}

// The "C" numeric conventions, made once for the whole process.
locale_t CNumericLocale() {
  static const locale_t locale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
  return locale;
}

}  // namespace

std::string DoubleQuotes(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (c == '"') result += '"';
    result += c;
  }
  return result;
}

size_t Utf8Length(const std::string& text) {
  size_t count = 0;
  for (char c : text) {
    if (!IsContinuationByte(c)) ++count;
  }
  return count;
}

std::string Utf8Left(const std::string& text, size_t count) {
  // Cut before the lead byte of character number count + 1, so no sequence is
  // ever split.
  size_t seen = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsContinuationByte(text[i])) continue;
    if (seen == count) return text.substr(0, i);
    ++seen;
  }
  return text;
}

std::string UpperCase(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    char32_t cp;
    if (NextCodePoint(text, pos, cp)) {
      AppendUtf8(result, UpperCodePoint(cp));
    } else {
      result += text[pos++];  // a malformed byte passes unchanged
    }
  }
  return result;
}

std::string Trim(const std::string& text) {
  auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && isSpace(text[begin])) ++begin;
  while (end > begin && isSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string Format(const char* format, ...) {
  const locale_t previous = uselocale(CNumericLocale());
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string result;
  if (length > 0) {
    std::vector<char> buf(static_cast<size_t>(length) + 1);
    std::vsnprintf(buf.data(), buf.size(), format, args);
    result.assign(buf.data(), static_cast<size_t>(length));
  }
  va_end(args);
  uselocale(previous);
  return result;
}

}  // namespace zrv
