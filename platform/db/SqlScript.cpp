#include "platform/db/SqlScript.h"

#include <cctype>

#include "common/Text.h"

namespace zrv::db {

namespace {

// The statement without leading comments, upper-cased, with blanks collapsed.
std::string Normalized(const std::string& statement) {
  std::string result;
  size_t i = 0;
  while (i < statement.size()) {
    if (statement.compare(i, 2, "--") == 0) {
      size_t end = statement.find('\n', i);
      i = end == std::string::npos ? statement.size() : end + 1;
    } else if (statement.compare(i, 2, "/*") == 0) {
      size_t end = statement.find("*/", i + 2);
      i = end == std::string::npos ? statement.size() : end + 2;
    } else if (std::isspace(static_cast<unsigned char>(statement[i]))) {
      ++i;
    } else {
      break;
    }
  }
  bool blank = false;
  for (; i < statement.size(); ++i) {
    if (std::isspace(static_cast<unsigned char>(statement[i]))) {
      blank = true;
      continue;
    }
    if (blank && !result.empty()) result += ' ';
    blank = false;
    result += static_cast<char>(std::toupper(static_cast<unsigned char>(statement[i])));
  }
  return result;
}

bool IsCommit(const std::string& normalized) {
  return normalized == "COMMIT" || normalized == "COMMIT WORK";
}

// "SET TERM x" gives the new terminator x.
bool IsSetTerm(const std::string& normalized, std::string& terminator) {
  const std::string prefix = "SET TERM ";
  if (normalized.compare(0, prefix.size(), prefix) != 0) return false;
  terminator = Trim(normalized.substr(prefix.size()));
  return !terminator.empty();
}

}  // namespace

std::vector<std::string> SplitSqlScript(const std::string& script) {
  std::vector<std::string> statements;
  std::string terminator = ";";
  std::string current;
  size_t i = 0;

  auto finish = [&]() {
    std::string normalized = Normalized(current);
    std::string newTerminator;
    if (IsSetTerm(normalized, newTerminator)) {
      terminator = newTerminator;
    } else if (!normalized.empty() && !IsCommit(normalized)) {
      statements.push_back(Trim(current));
    }
    current.clear();
  };

  while (i < script.size()) {
    const char c = script[i];
    if (c == '\'' || c == '"') {
      size_t j = i + 1;
      while (j < script.size()) {
        if (script[j] == c) {
          if (j + 1 < script.size() && script[j + 1] == c) {
            j += 2;
            continue;
          }
          break;
        }
        ++j;
      }
      j = j < script.size() ? j + 1 : j;
      current.append(script, i, j - i);
      i = j;
    } else if (script.compare(i, 2, "--") == 0) {
      size_t end = script.find('\n', i);
      end = end == std::string::npos ? script.size() : end;
      current.append(script, i, end - i);
      i = end;
    } else if (script.compare(i, 2, "/*") == 0) {
      size_t end = script.find("*/", i + 2);
      end = end == std::string::npos ? script.size() : end + 2;
      current.append(script, i, end - i);
      i = end;
    } else if (script.compare(i, terminator.size(), terminator) == 0) {
      i += terminator.size();
      finish();
    } else {
      current += c;
      ++i;
    }
  }
  finish();
  return statements;
}

}  // namespace zrv::db
