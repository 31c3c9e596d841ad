#include "cli/StateFormats.h"

#include <algorithm>

#include "cli/JsonText.h"
#include "common/Csv.h"
#include "common/Text.h"

namespace zrv::cli {

namespace {

constexpr const char* kNone = "(няма)";
constexpr const char* kExplanationTitle = "Обяснение на лихвата (последният период е първи):";
constexpr const char* kCrLf = "\r\n";
constexpr size_t kLabelWidth = 34;
constexpr size_t kValueWidth = 12;

// CSV section names of the parts that are not tables.
constexpr const char* kCsvHeader = "договор";
constexpr const char* kCsvNote = "бележка";
constexpr const char* kCsvExplanation = "обяснение";
constexpr const char* kCsvTotals = "общо";
// CSV section of each table, by its key.
std::string CsvSection(const std::string& key) {
  if (key == "periods") return "период";
  if (key == "payments") return "плащане";
  if (key == "history") return "история";
  return "фактура";
}

// The text padded with blanks to `width` characters (not bytes).
std::string Pad(const std::string& text, size_t width, bool right) {
  const size_t length = Utf8Length(text);
  const std::string blanks(length < width ? width - length : 0, ' ');
  return right ? blanks + text : text + blanks;
}

void WriteTextTable(const state::ReportTable& t, std::ostream& out) {
  out << "\n" << t.title << ":\n";
  if (t.rows.empty()) {
    out << kNone << "\n";
    return;
  }
  std::vector<size_t> widths;
  for (size_t c = 0; c < t.columns.size(); ++c) {
    size_t w = Utf8Length(t.columns[c].label);
    for (const auto& row : t.rows) w = std::max(w, Utf8Length(row[c]));
    widths.push_back(w);
  }
  auto line = [&](auto cell) {
    std::string text;
    for (size_t c = 0; c < t.columns.size(); ++c) {
      if (c > 0) text += "  ";
      text += Pad(cell(c), widths[c], t.columns[c].number);
    }
    // Trailing blanks of the last column go.
    text.erase(text.find_last_not_of(' ') + 1);
    out << text << "\n";
  };
  line([&](size_t c) { return t.columns[c].label; });
  for (const auto& row : t.rows) line([&](size_t c) { return row[c]; });
}

void WriteJsonItems(const std::vector<state::ReportItem>& items, std::ostream& out) {
  out << "{";
  for (size_t i = 0; i < items.size(); ++i) {
    out << (i ? ", " : "") << JsonString(items[i].key) << ": "
        << JsonValue(items[i].value, items[i].number);
  }
  out << "}";
}

void WriteJsonTable(const state::ReportTable& t, std::ostream& out) {
  WriteJsonArray(out, t.rows.size(), true, [&](size_t r) {
    out << "{";
    for (size_t c = 0; c < t.columns.size(); ++c) {
      out << (c ? ", " : "") << JsonString(t.columns[c].key) << ": "
          << JsonValue(t.rows[r][c], t.columns[c].number);
    }
    out << "}";
  });
}

}  // namespace

void WriteStateText(const state::StateReport& report, std::ostream& out) {
  for (const state::ReportItem& item : report.header)
    out << item.label << ": " << item.value << "\n";
  for (const std::string& note : report.notes) out << note << "\n";
  for (const state::ReportTable& table : report.tables) WriteTextTable(table, out);
  if (!report.explanation.empty()) {
    out << "\n" << kExplanationTitle << "\n";
    for (const std::string& line : report.explanation) out << line << "\n";
  }
  out << "\n";
  for (const state::ReportItem& item : report.totals) {
    out << Pad(item.label + ":", kLabelWidth, false) << Pad(item.value, kValueWidth, true) << "\n";
  }
}

void WriteStateCsv(const state::StateReport& report, std::ostream& out) {
  auto record = [&](std::vector<std::string> fields) { out << csv::Line(fields) << kCrLf; };
  for (const state::ReportItem& item : report.header) record({kCsvHeader, item.label, item.value});
  for (const std::string& note : report.notes) record({kCsvNote, note});
  for (const state::ReportTable& table : report.tables) {
    const std::string section = CsvSection(table.key);
    std::vector<std::string> fields = {section};
    for (const state::ReportColumn& column : table.columns) fields.push_back(column.label);
    record(fields);
    for (const auto& row : table.rows) {
      fields = {section};
      fields.insert(fields.end(), row.begin(), row.end());
      record(fields);
    }
  }
  for (const std::string& line : report.explanation) record({kCsvExplanation, line});
  for (const state::ReportItem& item : report.totals) record({kCsvTotals, item.label, item.value});
}

void WriteStateJson(const state::StateReport& report, std::ostream& out) {
  out << "{\n  \"contract\": ";
  WriteJsonItems(report.header, out);
  out << ",\n  \"notes\": ";
  WriteJsonStrings(out, report.notes, false);
  for (const state::ReportTable& table : report.tables) {
    out << ",\n  " << JsonString(table.key) << ": ";
    WriteJsonTable(table, out);
  }
  out << ",\n  \"explanation\": ";
  WriteJsonStrings(out, report.explanation, false);
  out << ",\n  \"totals\": ";
  WriteJsonItems(report.totals, out);
  out << "\n}\n";
}

}  // namespace zrv::cli
