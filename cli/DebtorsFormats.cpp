#include "cli/DebtorsFormats.h"

#include <algorithm>

#include "cli/JsonText.h"
#include "common/Csv.h"
#include "common/Text.h"
#include "state/DebtorTable.h"

namespace zrv::cli {

namespace {

using state::DebtorColumn;
using state::DebtorColumns;
using workbook::ColumnKind;

constexpr const char* kNone = "(няма длъжници)";
constexpr const char* kCrLf = "\r\n";
constexpr const char* kCsvNote = "бележка";
constexpr const char* kCsvLine = "длъжник";
constexpr const char* kCsvTotals = "общо";

// The rows as texts: one per line, then the totals.
struct Texts {
  std::vector<std::vector<std::string>> lines;
  std::vector<std::string> totals;
};

Texts TableTexts(const state::DebtorList& list) {
  const std::vector<DebtorColumn>& columns = DebtorColumns();
  Texts texts;
  texts.lines.reserve(list.lines.size());
  for (const state::DebtorLine& line : list.lines) {
    const auto cells = state::DebtorCells(line);
    std::vector<std::string> row;
    for (size_t c = 0; c < columns.size(); ++c)
      row.push_back(state::CellText(columns[c], cells[c]));
    texts.lines.push_back(std::move(row));
  }
  const auto totals = state::DebtorTotalCells(list);
  for (size_t c = 0; c < columns.size(); ++c)
    texts.totals.push_back(state::TotalText(columns[c], totals[c]));
  return texts;
}

// The text padded with blanks to `width` characters (not bytes).
std::string Pad(const std::string& text, size_t width, bool right) {
  const size_t length = Utf8Length(text);
  const std::string blanks(length < width ? width - length : 0, ' ');
  return right ? blanks + text : text + blanks;
}

}  // namespace

void WriteDebtorsText(const state::DebtorList& list, std::ostream& out) {
  out << state::DebtorsTitle(list) << "\n";
  for (const std::string& note : state::DebtorNotes(list)) out << note << "\n";
  out << "\n";
  if (list.lines.empty()) {
    out << kNone << "\n";
    return;
  }
  const std::vector<DebtorColumn>& columns = DebtorColumns();
  const Texts texts = TableTexts(list);
  std::vector<size_t> widths;
  for (size_t c = 0; c < columns.size(); ++c) {
    size_t w = std::max(Utf8Length(columns[c].label), Utf8Length(texts.totals[c]));
    for (const auto& row : texts.lines) w = std::max(w, Utf8Length(row[c]));
    widths.push_back(w);
  }
  const auto line = [&](const std::vector<std::string>& row) {
    std::string text;
    for (size_t c = 0; c < columns.size(); ++c) {
      if (c > 0) text += "  ";
      text += Pad(row[c], widths[c], columns[c].kind != ColumnKind::Text);
    }
    text.erase(text.find_last_not_of(' ') + 1);
    out << text << "\n";
  };
  std::vector<std::string> labels;
  for (const DebtorColumn& column : columns) labels.push_back(column.label);
  line(labels);
  for (const auto& row : texts.lines) line(row);
  line(texts.totals);
}

void WriteDebtorsCsv(const state::DebtorList& list, std::ostream& out) {
  const auto record = [&](const char* section, std::vector<std::string> fields) {
    fields.insert(fields.begin(), section);
    out << csv::Line(fields) << kCrLf;
  };
  record(kCsvNote, {state::DebtorsTitle(list)});
  for (const std::string& note : state::DebtorNotes(list)) record(kCsvNote, {note});
  std::vector<std::string> labels;
  for (const DebtorColumn& column : DebtorColumns()) labels.push_back(column.label);
  record(kCsvLine, labels);
  const Texts texts = TableTexts(list);
  for (const auto& row : texts.lines) record(kCsvLine, row);
  record(kCsvTotals, texts.totals);
}

void WriteDebtorsJson(const state::DebtorList& list, std::ostream& out) {
  const std::vector<DebtorColumn>& columns = DebtorColumns();
  const Texts texts = TableTexts(list);
  const auto object = [&](const std::vector<std::string>& row, size_t from) {
    out << "{";
    for (size_t c = from; c < columns.size(); ++c) {
      out << (c > from ? ", " : "") << JsonString(columns[c].key) << ": "
          << JsonValue(row[c], columns[c].kind != ColumnKind::Text);
    }
    out << "}";
  };
  out << "{\n  \"date\": " << JsonString(FormatDMY(list.date)) << ",\n  \"rates_loaded_to\": "
      << JsonValue(list.ratesLoadedTo != 0 ? FormatDMY(list.ratesLoadedTo) : "", false)
      << ",\n  \"notes\": ";
  WriteJsonStrings(out, state::DebtorNotes(list), false);
  out << ",\n  \"debtors\": ";
  WriteJsonArray(out, texts.lines.size(), true, [&](size_t r) { object(texts.lines[r], 0); });
  // The totals hold the figures only.
  size_t firstFigure = 0;
  while (firstFigure < columns.size() &&
         (columns[firstFigure].kind == ColumnKind::Text || !columns[firstFigure].summed))
    ++firstFigure;
  out << ",\n  \"totals\": ";
  object(texts.totals, firstFigure);
  out << "\n}\n";
}

}  // namespace zrv::cli
