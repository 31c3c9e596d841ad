#include "cli/JsonText.h"

#include "common/Text.h"

namespace zrv::cli {

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      out += Format("\\u%04x", c);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string JsonValue(const std::string& value, bool number) {
  if (value.empty()) return "null";
  return number ? value : JsonString(value);
}

void WriteJsonArray(std::ostream& out, size_t count, bool onePerLine,
                    const std::function<void(size_t)>& element) {
  const char* const separator = onePerLine ? ",\n    " : ", ";
  out << "[";
  for (size_t i = 0; i < count; ++i) {
    out << (i ? separator : onePerLine ? "\n    " : "");
    element(i);
  }
  out << (onePerLine && count > 0 ? "\n  ]" : "]");
}

void WriteJsonStrings(std::ostream& out, const std::vector<std::string>& texts, bool onePerLine) {
  WriteJsonArray(out, texts.size(), onePerLine, [&](size_t i) { out << JsonString(texts[i]); });
}

}  // namespace zrv::cli
