#include "app/SchemaObjects.h"

#include <algorithm>
#include <cctype>

#include "common/Error.h"
#include "common/Text.h"
#include "platform/db/SqlScript.h"

namespace zrv::app {

namespace {

constexpr const char* kScriptSuffix = ".sql";
constexpr const char* kKeySeparator = " || '|' || ";

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The words of a text up to its first "(", in capitals.
std::vector<std::string> LeadingWords(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text) {
    if (c == '(') break;
    if (IsBlank(c)) {
      if (!word.empty()) words.push_back(Upper(word));
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(Upper(word));
  return words;
}

// The parenthesis depth of a statement read one character after another,
// quoted texts not counting.
struct Nesting {
  int depth = 0;
  char quote = 0;
  // Takes the next character; false when it belongs to a quoted text.
  bool Take(char c) {
    if (quote) {
      if (c == quote) quote = 0;
      return false;
    }
    if (c == '\'' || c == '"') {
      quote = c;
      return false;
    }
    if (c == '(') ++depth;
    if (c == ')') --depth;
    return true;
  }
};

// The text between the first "(" at or after `from` and its closing ")".
// Throws when the parenthesis does not close.
std::string Parenthesized(const std::string& text, size_t from) {
  const size_t open = text.find('(', from);
  Nesting nesting;
  for (size_t i = open; open != std::string::npos && i < text.size(); ++i) {
    if (nesting.Take(text[i]) && text[i] == ')' && nesting.depth == 0)
      return Trim(text.substr(open + 1, i - open - 1));
  }
  throw Error("Схемата има незатворена скоба: " + text.substr(0, 80));
}

// The parts of a list separated by commas outside parentheses and quotes.
std::vector<std::string> TopLevelParts(const std::string& text) {
  std::vector<std::string> parts;
  std::string part;
  Nesting nesting;
  for (char c : text) {
    if (nesting.Take(c) && c == ',' && nesting.depth == 0) {
      parts.push_back(Trim(part));
      part.clear();
    } else {
      part += c;
    }
  }
  if (!Trim(part).empty()) parts.push_back(Trim(part));
  return parts;
}

// "a, b" as a key expression "a || '|' || b" (one column: itself).
std::string ColumnsKey(const std::string& columns) {
  std::string key;
  for (const std::string& column : TopLevelParts(columns))
    key += (key.empty() ? "" : kKeySeparator) + column;
  return key;
}

void ReadTableBody(const std::string& body, SchemaStatement& table) {
  for (const std::string& part : TopLevelParts(body)) {
    const std::vector<std::string> words = LeadingWords(part);
    if (words.empty()) continue;
    if (words[0] != "CONSTRAINT") {
      // Constraints without a name cannot be looked for in a database.
      if (words[0] == "PRIMARY" || words[0] == "UNIQUE" || words[0] == "CHECK" ||
          words[0] == "FOREIGN")
        continue;
      table.columns.push_back({words[0], part});
      continue;
    }
    SchemaConstraint constraint;
    constraint.name = words.size() > 1 ? words[1] : "";
    constraint.definition = part;
    const std::string kind = words.size() > 2 ? words[2] : "";
    if (kind == "PRIMARY" || kind == "UNIQUE") {
      constraint.kind =
          kind == "PRIMARY" ? SchemaConstraint::Kind::kPrimaryKey : SchemaConstraint::Kind::kUnique;
      constraint.key = ColumnsKey(Parenthesized(part, 0));
    } else if (kind == "CHECK") {
      constraint.kind = SchemaConstraint::Kind::kCheck;
      constraint.key = Parenthesized(part, 0);
    }
    table.constraints.push_back(constraint);
  }
}

SchemaStatement Read(const std::string& file, const std::string& sql) {
  SchemaStatement s;
  s.file = file;
  s.sql = sql;
  const std::string text = WithoutComments(sql);
  const std::vector<std::string> words = LeadingWords(text);
  const auto word = [&words](size_t i) { return i < words.size() ? words[i] : std::string(); };
  if (word(0) == "INSERT" && word(1) == "INTO") {
    s.kind = SchemaStatement::Kind::kRow;
    s.table = word(2);
    return s;
  }
  if (word(0) != "CREATE" || word(1) == "OR") return s;  // kAlways
  if (word(1) == "TABLE") {
    s.kind = SchemaStatement::Kind::kTable;
    s.name = s.table = word(2);
    ReadTableBody(Parenthesized(text, 0), s);
  } else if (word(1) == "GENERATOR" || word(1) == "SEQUENCE") {
    s.kind = SchemaStatement::Kind::kGenerator;
    s.name = word(2);
  } else if (word(1) == "TRIGGER") {
    s.kind = SchemaStatement::Kind::kTrigger;
    s.name = word(2);
    s.table = word(3) == "FOR" ? word(4) : "";
  } else {
    const auto index = std::find(words.begin(), words.end(), "INDEX");
    if (words.end() - index < 4 || *(index + 2) != "ON") return s;
    s.kind = SchemaStatement::Kind::kIndex;
    s.unique = std::find(words.begin(), index, "UNIQUE") != index;
    s.name = *(index + 1);
    s.table = *(index + 3);
    // ON table (columns), or ON table COMPUTED BY (expression): the first
    // parenthesis of the statement.
    const bool computed = std::find(words.begin(), words.end(), "COMPUTED") != words.end();
    const std::string inside = Parenthesized(text, 0);
    s.key = computed ? inside : ColumnsKey(inside);
  }
  return s;
}

}  // namespace

std::string WithoutComments(const std::string& sql) {
  std::string text;
  char quote = 0;
  for (size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (sql.compare(i, 2, "--") == 0) {
      i = std::min(sql.find('\n', i), sql.size()) - 1;
      continue;
    } else if (sql.compare(i, 2, "/*") == 0) {
      const size_t end = sql.find("*/", i + 2);
      i = end == std::string::npos ? sql.size() : end + 1;
      text += ' ';
      continue;
    }
    text += c;
  }
  return Trim(text);
}

std::vector<SchemaStatement> ReadSchemaStatements(const std::vector<EmbeddedFile>& files) {
  std::vector<EmbeddedFile> scripts;
  for (const EmbeddedFile& file : files) {
    if (file.name.find('/') == std::string_view::npos && file.name.ends_with(kScriptSuffix))
      scripts.push_back(file);
  }
  std::sort(scripts.begin(), scripts.end(),
            [](const EmbeddedFile& a, const EmbeddedFile& b) { return a.name < b.name; });
  std::vector<SchemaStatement> statements;
  for (const EmbeddedFile& file : scripts) {
    for (const std::string& sql : db::SplitSqlScript(std::string(file.text)))
      statements.push_back(Read(std::string(file.name), sql));
  }
  return statements;
}

}  // namespace zrv::app
