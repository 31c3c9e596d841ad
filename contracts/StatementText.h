#pragma once
// Text values on their way into a statement parameter: the checks that tell a
// clerk why a text cannot be stored, before the database refuses it.

#include <cstddef>
#include <string>

namespace zrv::contracts {

// Throws zrv::Error naming `what` when the database could not store the text
// exactly: it holds a NUL character or a character that Windows-1251 has no
// code for.
void RequireStorableText(const char* what, const std::string& text);

// True when a column of `maxChars` characters holds the text exactly: no NUL
// character (it would cut the text), every character in Windows-1251, and no
// more characters than the column has.
bool FitsTextColumn(const std::string& text, size_t maxChars);

// The text itself, for a statement parameter; refuses what RequireStorableText
// refuses.
const std::string& StorableText(const char* column, const std::string& text);

}  // namespace zrv::contracts
