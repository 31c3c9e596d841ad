#pragma once
// Decoding and encoding single UTF-8 characters, for the text helpers.

#include <cstddef>
#include <string>

namespace zrv {

// Reads the character starting at `pos` and moves `pos` past it. False (pos
// unchanged) for a malformed sequence: a stray continuation byte, a cut
// sequence, an over-long form, a surrogate or a value above U+10FFFF.
bool NextCodePoint(const std::string& text, size_t& pos, char32_t& codePoint);

// Appends the UTF-8 form of a code point (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace zrv
