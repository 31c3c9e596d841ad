#include "import/RunSummaryText.h"

#include <algorithm>
#include <filesystem>

#include "common/Text.h"

namespace zrv::import {

namespace {
const char kRowsRead[] = "Прочетени редове:";
const char kContractsStored[] = "Записани договори:";
const char kRowsRefused[] = "Отказани редове:";
const char kRowsSkipped[] = "Пропуснати (вече записани):";
// Shown only when another workstation's writes left rows unstored.
const char kRowsBusy[] = "За повторно импортиране:";
const char kAnnexesStored[] = "Записани анекси:";
const char kAnnexesDropped[] = "Отхвърлени анекси:";
// Shown only when a contract imported again had annex rows stored already.
const char kAnnexesSkipped[] = "Вече записани анекси:";
const char kClassifierEntries[] = "Добавени в класификаторите:";
const char kRefusedRowsFile[] = "Книга с отказаните редове:";
const char kNoRefusedRowsFile[] = "няма";
const char kLastRow[] = "Последен достигнат ред:";
const char kElapsed[] = "Време:";
const char kNotCounted[] = "неизвестно";
const char kNoLogFile[] = "няма (без грешки)";
const char kLogNotWritten[] = "НЕ Е ЗАПИСАН. ";
const char kWorkbookNotWritten[] = "НЕ Е ЗАПИСАНА. ";
const char kNothingStored[] = "Само проверка: нищо не е записано.";  // dry run
const char kSeconds[] = " с";
// Shown for a real run that the run history recorded.
const char kRunNumber[] = "Номер в историята:";

// A path from the root (a relative one lies in the current directory).
std::string FullPath(const std::string& path) {
  std::error_code ignored;
  const std::filesystem::path full = std::filesystem::absolute(path, ignored);
  return full.empty() ? path : full.lexically_normal().string();
}

// The log's path from the root (a relative one lies in the current
// directory), why it was not written, or that there was nothing to write.
std::string LogFileText(const ImportSummary& s) {
  if (s.logFile.empty()) return s.logProblem.empty() ? kNoLogFile : kLogNotWritten + s.logProblem;
  return FullPath(s.logFile);
}
}  // namespace

std::vector<SummaryLine> SummaryLines(const ImportSummary& s) {
  std::vector<SummaryLine> lines = {
      {kRowsRead, std::to_string(s.rowsRead)},
      {kContractsStored, std::to_string(s.contractsStored)},
      {kRowsRefused, std::to_string(s.rowsRefused)},
      {kRowsSkipped, std::to_string(s.rowsSkipped)},
      {kAnnexesStored, std::to_string(s.annexesStored)},
      {kAnnexesDropped, std::to_string(s.annexesDropped)},
      {kClassifierEntries, s.classifierEntriesAdded < 0 ? std::string(kNotCounted)
                                                        : std::to_string(s.classifierEntriesAdded)},
      {kLogFileLabel, LogFileText(s)},
      {kRefusedRowsFile, !s.refusedRowsFile.empty() ? FullPath(s.refusedRowsFile)
                         : !s.refusedRowsProblem.empty()
                             ? kWorkbookNotWritten + s.refusedRowsProblem
                             : std::string(kNoRefusedRowsFile)},
      {kLastRow, std::to_string(s.lastRow)},
      {kElapsed, Format("%.2f", s.elapsedSeconds) + kSeconds},
  };
  if (s.annexesSkipped > 0)
    lines.insert(lines.begin() + 6, {kAnnexesSkipped, std::to_string(s.annexesSkipped)});
  if (s.rowsBusy > 0) lines.insert(lines.begin() + 4, {kRowsBusy, std::to_string(s.rowsBusy)});
  if (s.runId > 0) lines.push_back({kRunNumber, std::to_string(s.runId)});
  return lines;
}

std::string SummaryText(const ImportSummary& summary) {
  const std::vector<SummaryLine> lines = SummaryLines(summary);
  size_t width = 0;
  for (const auto& line : lines) width = std::max(width, Utf8Length(line.label));
  std::string text;
  if (summary.checkOnly) text = std::string(kNothingStored) + "\n";
  for (const auto& line : lines) {
    text += line.label + std::string(width + 2 - Utf8Length(line.label), ' ') + line.value + "\n";
  }
  return text;
}

}  // namespace zrv::import
