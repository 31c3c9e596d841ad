#include "platform/db/firebird/NamedParams.h"

namespace zrv::db::fb {

namespace {

bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '$'; }

// The index just past the literal that opens at i (quote doubled inside = one
// quote).
size_t SkipQuoted(const std::string& sql, size_t i) {
  const char quote = sql[i];
  for (++i; i < sql.size(); ++i) {
    if (sql[i] != quote) continue;
    if (i + 1 < sql.size() && sql[i + 1] == quote) {
      ++i;
      continue;
    }
    return i + 1;
  }
  return sql.size();
}

size_t SkipLineComment(const std::string& sql, size_t i) {
  size_t end = sql.find('\n', i);
  return end == std::string::npos ? sql.size() : end;
}

size_t SkipBlockComment(const std::string& sql, size_t i) {
  size_t end = sql.find("*/", i + 2);
  return end == std::string::npos ? sql.size() : end + 2;
}

}  // namespace

std::string UpperName(const std::string& name) {
  std::string upper = name;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

PositionalSql ToPositional(const std::string& sql) {
  PositionalSql result;
  result.text.reserve(sql.size());
  size_t i = 0;
  while (i < sql.size()) {
    const char c = sql[i];
    size_t next = i + 1;
    if (c == '\'' || c == '"') {
      next = SkipQuoted(sql, i);
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      next = SkipLineComment(sql, i);
    } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      next = SkipBlockComment(sql, i);
    } else if (c == ':' && i + 1 < sql.size() && IsNameStart(sql[i + 1])) {
      next = i + 1;
      while (next < sql.size() && IsNameChar(sql[next])) ++next;
      result.names.push_back(UpperName(sql.substr(i + 1, next - i - 1)));
      result.text += '?';
      i = next;
      continue;
    }
    result.text.append(sql, i, next - i);
    i = next;
  }
  return result;
}

}  // namespace zrv::db::fb
