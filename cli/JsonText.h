#pragma once
// JSON text for the commands' machine-readable output.

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace zrv::cli {

// A JSON string: quotes, backslashes and control characters escaped, the UTF-8
// text kept as it is.
std::string JsonString(const std::string& text);

// null for an empty value; otherwise the value as it is when it is a
// `number`, else as a JSON string.
std::string JsonValue(const std::string& value, bool number);

// A JSON array of `count` elements, `element(i)` writing the i-th. Inline as
// "[a, b]", or with `onePerLine` one element a line, laid out as the value of
// a member of a top-level object.
void WriteJsonArray(std::ostream& out, size_t count, bool onePerLine,
                    const std::function<void(size_t)>& element);

// A JSON array of strings, laid out as WriteJsonArray lays it out.
void WriteJsonStrings(std::ostream& out, const std::vector<std::string>& texts, bool onePerLine);

}  // namespace zrv::cli
