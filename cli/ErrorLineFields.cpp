#include "cli/ErrorLineFields.h"

#include <cctype>
#include <iterator>

#include "import/ColumnMap.h"

namespace zrv::cli {

namespace {

constexpr const char* kLevels[] = {"FATAL", "WARNING"};
constexpr const char* kLevelSeparator = " : ";
constexpr const char* kMissing = "Липсва ";
constexpr const char* kAtRow = " на ред номер : ";
// A line that names its column itself: "... в колона E", "... колони AD, AE".
constexpr const char* kColumnWords[] = {"колона ", "колони "};

// The column of each subject that names no column in its text.
struct SubjectColumn {
  const char* subject;
  const char* column;
};
const SubjectColumn kSubjectColumns[] = {
    {import::subject::kContractNumber, import::column::kContractNumber},
    {import::subject::kDrawnUpDate, import::column::kDrawnUpDate},
    {import::subject::kRentType, import::column::kRentType},
    {import::subject::kTenant, import::column::kTenantName},
    {import::subject::kSettlement, import::column::kSettlement},
    {import::subject::kTermMonths, import::column::kTermMonths},
    {import::subject::kScheduleLimits, import::column::kTermMonths},
    {import::subject::kMonthlyRent, import::column::kMonthlyRent},
    {import::subject::kStartDate, import::column::kStartDate},
    {import::subject::kArea, import::column::kArea},
    {import::subject::kAnnexDate, import::column::kDrawnUpDate},
    {import::subject::kAnnexStartDate, import::column::kStartDate},
    {import::subject::kAnnexEndDate, import::column::kAnnexEndDate},
    {import::subject::kAnnexPrice, import::column::kMonthlyRent},
    {import::subject::kAnnexStartNotLater, import::column::kStartDate},
};

bool StartsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

// The row of a line ending in " на ред номер : N"; the text before it is kept
// in `rest`.
int RowAtEnd(const std::string& text, std::string& rest) {
  const size_t at = text.rfind(kAtRow);
  if (at == std::string::npos) return 0;
  const std::string digits = text.substr(at + std::char_traits<char>::length(kAtRow));
  if (digits.empty() || digits.size() > 9) return 0;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
  }
  rest = text.substr(0, at);
  return std::stoi(digits);
}

// The first column the text names after "колона " or "колони ".
std::string NamedColumn(const std::string& text) {
  for (const char* word : kColumnWords) {
    const size_t at = text.find(word);
    if (at == std::string::npos) continue;
    std::string letters;
    for (size_t i = at + std::char_traits<char>::length(word);
         i < text.size() && text[i] >= 'A' && text[i] <= 'Z'; ++i)
      letters += text[i];
    if (!letters.empty() && letters.size() <= 3) return letters;
  }
  return "";
}

std::string SubjectsColumn(const std::string& subject) {
  for (const SubjectColumn& s : kSubjectColumns) {
    if (StartsWith(subject, s.subject)) return s.column;
  }
  return "";
}

}  // namespace

ErrorLineFields ParseErrorLine(const std::string& line) {
  ErrorLineFields fields;
  fields.line = line;
  fields.text = line;
  for (const char* level : kLevels) {
    const std::string start = std::string(level) + kLevelSeparator;
    if (!StartsWith(line, start)) continue;
    fields.level = level;
    fields.text = line.substr(start.size());
    std::string rest;
    fields.row = RowAtEnd(fields.text, rest);
    if (fields.row > 0) fields.text = rest;
    break;
  }
  if (fields.level.empty()) return fields;
  if (StartsWith(fields.text, kMissing))
    fields.subject = fields.text.substr(std::char_traits<char>::length(kMissing));
  fields.column = NamedColumn(fields.text);
  if (fields.column.empty()) fields.column = SubjectsColumn(fields.subject);
  return fields;
}

}  // namespace zrv::cli
