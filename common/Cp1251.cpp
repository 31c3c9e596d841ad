// Windows-1251 at the edges of the program: the login record, the log file.

#include <utility>

#include "common/Text.h"
#include "common/Utf8.h"

namespace zrv {

namespace {

// Code points of the bytes 0x80..0xBF; 0x98 has no character (U+FFFD stands for
// it). 0x00..0x7F are ASCII, 0xC0..0xFF are U+0410..U+044F (А..я).
constexpr char32_t kHighHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

char32_t ByteToCodePoint(unsigned char b) {
  if (b < 0x80) return b;
  if (b >= 0xC0) return 0x0410 + (b - 0xC0);
  return kHighHalf[b - 0x80];
}

bool CodePointToByte(char32_t cp, unsigned char& b) {
  if (cp < 0x80) {
    b = static_cast<unsigned char>(cp);
    return true;
  }
  if (cp >= 0x0410 && cp <= 0x044F) {
    b = static_cast<unsigned char>(0xC0 + (cp - 0x0410));
    return true;
  }
  if (cp == 0xFFFD) return false;
  for (int i = 0; i < 64; ++i) {
    if (kHighHalf[i] == cp) {
      b = static_cast<unsigned char>(0x80 + i);
      return true;
    }
  }
  return false;
}

}  // namespace

bool TryUtf8ToCp1251(const std::string& utf8, std::string& out) {
  std::string result;
  result.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t cp;
    unsigned char b;
    if (!NextCodePoint(utf8, pos, cp) || !CodePointToByte(cp, b)) return false;
    result += static_cast<char>(b);
  }
  out = std::move(result);
  return true;
}

std::string Cp1251ToUtf8(const std::string& cp1251) {
  std::string result;
  result.reserve(cp1251.size() * 2);
  for (char c : cp1251) AppendUtf8(result, ByteToCodePoint(static_cast<unsigned char>(c)));
  return result;
}

}  // namespace zrv
