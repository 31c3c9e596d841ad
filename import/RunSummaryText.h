#pragma once
// The words of a run's summary, one wording for `zorvit import` and the import
// window: the figures of the run, each under its Bulgarian label.

#include <string>
#include <vector>

#include "import/ImportRun.h"

namespace zrv::import {

// The title over the summary.
inline constexpr char kSummaryTitle[] = "Обобщение";
// The label of the log file's line, by which the window finds that line.
inline constexpr char kLogFileLabel[] = "Лог файл:";

struct SummaryLine {
  std::string label;  // "Записани договори:"
  std::string value;  // "17"
};

// Rows read, contracts stored, rows refused, annexes stored and refused,
// classifier entries added ("неизвестно" when not counted), the log file's
// full path ("няма (без грешки)" without one, "НЕ Е ЗАПИСАН. " and the reason
// when it could not be written), the last row reached and the time taken, in
// this order.
std::vector<SummaryLine> SummaryLines(const ImportSummary& summary);

// The same as text: every label padded to one width, its value after it, each
// line ended by "\n".
std::string SummaryText(const ImportSummary& summary);

}  // namespace zrv::import
