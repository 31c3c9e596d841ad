#include "common/Csv.h"

#include "common/Text.h"

namespace zrv::csv {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char kQuote = '"';

std::string_view WithoutBom(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  return text;
}

// Reads the quoted field that starts after the opening quote at `i`; leaves
// `i` on the character after the closing quote. False when it never closes.
bool ReadQuoted(std::string_view text, size_t& i, std::string& field, int& line) {
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c != kQuote) {
      if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++line;
      field += c;
    } else if (i + 1 < text.size() && text[i + 1] == kQuote) {
      field += kQuote;
      ++i;
    } else {
      ++i;
      return true;
    }
  }
  return false;
}

}  // namespace

bool Parse(std::string_view text, char separator, std::vector<Record>& records, int& errorLine) {
  records.clear();
  errorLine = 0;
  text = WithoutBom(text);
  int line = 1;
  size_t i = 0;
  while (i < text.size()) {
    Record record;
    record.line = line;
    record.fields.emplace_back();
    bool recordEnded = false;
    while (i < text.size() && !recordEnded) {
      const char c = text[i];
      if (c == kQuote && record.fields.back().empty()) {
        const int startLine = line;
        ++i;
        if (!ReadQuoted(text, i, record.fields.back(), line)) {
          errorLine = startLine;
          return false;
        }
        if (i < text.size() && text[i] != separator && text[i] != '\r' && text[i] != '\n') {
          errorLine = line;
          return false;
        }
      } else if (c == separator) {
        record.fields.emplace_back();
        ++i;
      } else if (c == '\r' || c == '\n') {
        i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
        ++line;
        recordEnded = true;
      } else {
        record.fields.back() += c;
        ++i;
      }
    }
    records.push_back(std::move(record));
  }
  return true;
}

char GuessSeparator(std::string_view text) {
  text = WithoutBom(text);
  bool quoted = false;
  bool semicolon = false;
  for (char c : text) {
    if (c == kQuote) quoted = !quoted;
    if (quoted) continue;
    if (c == '\r' || c == '\n') break;
    if (c == '\t') return '\t';
    if (c == ';') semicolon = true;
  }
  return semicolon ? ';' : ',';
}

std::string Field(std::string_view text, char separator) {
  const char special[] = {separator, kQuote, '\r', '\n', '\0'};
  if (text.find_first_of(special) == std::string_view::npos) return std::string(text);
  return kQuote + DoubleQuotes(std::string(text)) + kQuote;
}

std::string Line(const std::vector<std::string>& fields, char separator) {
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += separator;
    out += Field(fields[i], separator);
  }
  return out;
}

}  // namespace zrv::csv
