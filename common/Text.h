#pragma once
// Text helpers. Every text inside the program is UTF-8; Windows-1251 exists
// only at the edges.

#include <cstdint>
#include <string>

namespace zrv {

// The text with every double quote written twice, for a literal inside double
// quotes.
std::string DoubleQuotes(const std::string& text);

// Commas read as the decimal point, blanks (code 32) removed; true and the
// value, or false and 0.
bool TryParseFloat(const std::string& text, double& out);
// A decimal 32-bit integer with optional sign, blanks around it allowed; true
// and the value, or false and 0.
bool TryParseInt(const std::string& text, int32_t& out);

// True when the digits of the text form a valid BULSTAT (9 or 13 digits, check
// digits right).
bool IsValidBulstat(const std::string& text);
// True for a personal number of 10 digits whose check digit is right: a
// citizen's (ЕГН) or a foreigner's (ЛНЧ).
bool IsValidPersonalNumber(const std::string& digits);
// True when the text is a number that carries check digits (9 or 13 digits: a
// BULSTAT; 10 digits: a personal number) and they are wrong. Texts of other
// forms (letters, other lengths) have nothing to check and give false.
bool HasWrongCheckDigit(const std::string& text);
// The text without blanks (also no-break spaces) anywhere in it: "175 074 752"
// gives "175074752".
std::string WithoutBlanks(const std::string& text);

// Number of characters (code points) of a UTF-8 text.
size_t Utf8Length(const std::string& text);
// The first `count` characters of a UTF-8 text; never splits a character.
std::string Utf8Left(const std::string& text, size_t count);
// Upper-cases Latin and Cyrillic letters the way the database's UPPER does on
// the WIN1251 text columns (collation PXW_CYRL): a-z, а-я and ё -> Ё; ђ ѓ љ њ ќ
// ћ џ ў ј ґ є ї і ѕ stay as they are.
std::string UpperCase(const std::string& text);
// Leading and trailing blanks and control characters removed.
std::string Trim(const std::string& text);

// Conversions at the edges. ToCp1251 gives false (out untouched) when a
// character has no Windows-1251 code or the text is not valid UTF-8. The byte
// 0x98, which has no character, reads as U+FFFD.
bool TryUtf8ToCp1251(const std::string& utf8, std::string& out);
std::string Cp1251ToUtf8(const std::string& cp1251);

// printf-style formatting into a std::string, in the "C" numeric locale.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace zrv
