#include "cli/RunsFormats.h"

#include <filesystem>
#include <string>

#include "cli/JsonText.h"
#include "common/Csv.h"
#include "common/Dates.h"
#include "common/Text.h"
#include "import/RunHistoryText.h"
#include "import/RunRecorder.h"

namespace zrv::cli {
namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kNoRuns = "(няма импортирания)";
constexpr const char* kUndone = "отменено на %s от %s";
const std::vector<std::string> kColumns = {
    "№",      "начало", "край",     "потребител", "работна станция", "книга",
    "община", "изход",  "записани", "отказани",   "анекси",          "отменено"};
const std::vector<std::string> kCsvColumns = {
    "id",        "started",      "ended",           "user",
    "user_id",   "host",         "workbook",        "size",
    "sha256",    "municipality", "first_row",       "outcome",
    "rows_read", "stored",       "skipped",         "refused",
    "busy",      "annexes",      "annexes_skipped", "annexes_refused",
    "entries",   "log",          "undone",          "undone_by"};

constexpr const char* kRecordLabels[] = {"Импортиране №",
                                         "Потребител",
                                         "Работна станция",
                                         "Начало",
                                         "Край",
                                         "Работна книга",
                                         "Размер (байта)",
                                         "SHA-256",
                                         "Община",
                                         "Първи ред",
                                         "Изход",
                                         "Прочетени редове",
                                         "Записани договори",
                                         "Пропуснати (вече записани)",
                                         "Отказани редове",
                                         "За повторно импортиране",
                                         "Записани анекси",
                                         "Вече записани анекси",
                                         "Отхвърлени анекси",
                                         "Добавени в класификаторите",
                                         "Лог файл",
                                         "Отменено"};
constexpr const char* kStoredHeading = "Записано от импортирането:";
constexpr const char* kNothingStored = "  (нищо)";

std::string When(TDate date) { return date == 0 ? "" : FormatDMYHMS(date); }

// yyyy-mm-ddThh:mm:ss, the form programs read; empty for no date.
std::string IsoWhen(TDate date) {
  if (date == 0) return "";
  const std::string dmy = FormatDMYHMS(date);  // dd.mm.yyyy hh:mm:ss
  return dmy.substr(6, 4) + "-" + dmy.substr(3, 2) + "-" + dmy.substr(0, 2) + "T" + dmy.substr(11);
}

std::string FileName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

std::string UndoneText(const import::RunRecord& r) {
  return r.Undone() ? Format(kUndone, When(r.undone).c_str(), r.undoneByName.c_str()) : "";
}

const char* KindName(import::TraceKind kind) {
  switch (kind) {
    case import::TraceKind::kContract:
      return "contract";
    case import::TraceKind::kAddedAnnex:
      return "annex";
    case import::TraceKind::kFileLink:
      return "file_link";
    case import::TraceKind::kPerson:
      return "person";
    case import::TraceKind::kProperty:
      return "property";
    case import::TraceKind::kEntry:
      return "entry";
  }
  return "";
}

std::string Size(double size) { return Format("%.0f", size); }

std::vector<std::string> CsvFields(const import::RunRecord& r) {
  // An unfinished run has counted nothing yet: its counts are empty.
  const auto count = [&r](int32_t n) { return r.Finished() ? std::to_string(n) : std::string(); };
  return {std::to_string(r.id),
          IsoWhen(r.started),
          IsoWhen(r.ended),
          r.userName,
          std::to_string(r.userId),
          r.host,
          r.workbook,
          Size(r.size),
          r.sha256,
          r.municipality,
          std::to_string(r.firstRow),
          r.Finished() ? r.outcome : "",
          count(r.rowsRead),
          count(r.stored),
          count(r.skipped),
          count(r.refused),
          count(r.busy),
          count(r.annexes),
          count(r.annexesSkipped),
          count(r.annexesRefused),
          count(r.entries),
          r.logFile,
          IsoWhen(r.undone),
          r.undoneByName};
}

// The record as JSON members, indented by `indent`.
void WriteRecordMembers(const import::RunRecord& r, std::ostream& out, const std::string& indent) {
  const std::vector<std::string> fields = CsvFields(r);
  for (size_t i = 0; i < kCsvColumns.size(); ++i) {
    const std::string& key = kCsvColumns[i];
    const bool count = i >= 12 && i <= 20;  // rows_read .. entries
    const bool number =
        count || key == "id" || key == "user_id" || key == "size" || key == "first_row";
    if (i > 0) out << ",\n";
    out << indent << JsonString(key) << ": " << JsonValue(fields[i], number);
  }
}

std::vector<std::string> RecordValues(const import::RunRecord& r) {
  return {
      std::to_string(r.id),
      r.userName + " (№ " + std::to_string(r.userId) + ")",
      r.host,
      When(r.started),
      When(r.ended),
      r.workbook,
      Size(r.size),
      r.sha256,
      r.municipality,
      std::to_string(r.firstRow),
      import::OutcomeText(r),
      std::to_string(r.rowsRead),
      std::to_string(r.stored),
      std::to_string(r.skipped),
      std::to_string(r.refused),
      std::to_string(r.busy),
      std::to_string(r.annexes),
      std::to_string(r.annexesSkipped),
      std::to_string(r.annexesRefused),
      std::to_string(r.entries),
      r.logFile,
      r.Undone() ? UndoneText(r) + (r.undoneHost.empty() ? "" : " (" + r.undoneHost + ")") : "не"};
}

}  // namespace

void WriteRunsText(const std::vector<import::RunRecord>& runs, std::ostream& out) {
  if (runs.empty()) {
    out << kNoRuns << "\n";
    return;
  }
  std::vector<std::vector<std::string>> rows = {kColumns};
  for (const import::RunRecord& r : runs)
    rows.push_back({std::to_string(r.id), When(r.started), When(r.ended), r.userName, r.host,
                    FileName(r.workbook), r.municipality, import::OutcomeText(r),
                    std::to_string(r.stored), std::to_string(r.refused), std::to_string(r.annexes),
                    UndoneText(r)});
  std::vector<size_t> widths(kColumns.size(), 0);
  for (const auto& row : rows)
    for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], Utf8Length(row[c]));
  for (const auto& row : rows) {
    std::string line;
    for (size_t c = 0; c < row.size(); ++c) {
      line += row[c];
      if (c + 1 < row.size()) line += std::string(widths[c] + 2 - Utf8Length(row[c]), ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << "\n";
  }
}

void WriteRunsCsv(const std::vector<import::RunRecord>& runs, std::ostream& out) {
  out << csv::Line(kCsvColumns) << kCrLf;
  for (const import::RunRecord& r : runs) out << csv::Line(CsvFields(r)) << kCrLf;
}

void WriteRunsJson(const std::vector<import::RunRecord>& runs, std::ostream& out) {
  out << "{\n  \"runs\": ";
  WriteJsonArray(out, runs.size(), true, [&](size_t i) {
    out << "{\n";
    WriteRecordMembers(runs[i], out, "      ");
    out << "\n    }";
  });
  out << "\n}\n";
}

void WriteRunText(const import::RunDetails& run, std::ostream& out) {
  const std::vector<std::string> values = RecordValues(run.record);
  size_t width = 0;
  for (const char* label : kRecordLabels) width = std::max(width, Utf8Length(label));
  for (size_t i = 0; i < values.size(); ++i) {
    const std::string label = std::string(kRecordLabels[i]) + ":";
    out << label << std::string(width + 2 - Utf8Length(label) + 1, ' ') << values[i] << "\n";
  }
  out << "\n" << kStoredHeading << "\n";
  if (run.items.empty()) out << kNothingStored << "\n";
  for (const import::DescribedItem& item : run.items) out << "  " << import::ItemText(item) << "\n";
}

void WriteRunJson(const import::RunDetails& run, std::ostream& out) {
  out << "{\n";
  WriteRecordMembers(run.record, out, "  ");
  out << ",\n  \"stored\": ";
  WriteJsonArray(out, run.items.size(), true, [&](size_t i) {
    const import::DescribedItem& d = run.items[i];
    out << "{\"kind\": " << JsonString(KindName(d.item.kind)) << ", \"id\": " << d.item.id;
    if (d.item.number != 0) out << ", \"number\": " << d.item.number;
    if (!d.item.table.empty()) out << ", \"table\": " << JsonString(d.item.table);
    out << ", \"text\": " << JsonString(import::ItemText(d)) << "}";
  });
  out << "\n}\n";
}

}  // namespace zrv::cli
