#include "import/RefusedRows.h"

#include <algorithm>

#include "import/CellReader.h"
#include "import/ColumnMap.h"
#include "platform/workbook/CellAddress.h"
#include "platform/workbook/TextWorkbookWriter.h"

namespace zrv::import {

namespace {

const char* const kReasonHeading = "Причина";

// The texts of a row from column A to its last non-empty cell; empty when the
// row holds no text. `columns` is the sheet's last used column.
std::vector<std::string> RowTexts(const CellReader& cells, int row,
                                  int columns) {
  std::vector<std::string> texts(static_cast<size_t>(columns));
  for (int c = 1; c <= columns; ++c) texts[c - 1] = cells.ReadCell(row, c);
  const auto last =
      std::find_if(texts.rbegin(), texts.rend(),
                   [](const std::string& t) { return !t.empty(); });
  texts.erase(last.base(), texts.end());
  return texts;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string joined;
  for (const auto& line : lines) joined += (joined.empty() ? "" : "\n") + line;
  return joined;
}

}  // namespace

void RefusedRows::Clear() {
  refused_.clear();
  lastWasRefused_ = false;
}

void RefusedRows::AddRefused(int row, std::vector<std::string> lines) {
  refused_.push_back({row, std::move(lines), {}});
  lastWasRefused_ = true;
}

void RefusedRows::AddStored() { lastWasRefused_ = false; }

void RefusedRows::AddAnnexRow(int row) {
  if (lastWasRefused_) refused_.back().annexRows.push_back(row);
}

bool RefusedRows::Write(const std::string& path,
                        const workbook::Worksheet& sheet, int firstRow) const {
  if (refused_.empty()) return false;
  const CellReader cells(&sheet);
  const int columns = sheet.UsedColumnCount();
  // In the order of the sheet, so that a large sheet read from its file is
  // read through once. Header rows past the sheet's end would be empty, and so
  // would every refused row after them.
  workbook::TextRows rows;
  for (int row = 1; row < firstRow && row <= sheet.UsedRowCount(); ++row)
    rows.push_back(RowTexts(cells, row, columns));
  const size_t headings = rows.size();
  std::vector<std::pair<size_t, std::string>> reasons;  // by index into rows
  for (const Refused& r : refused_) {
    std::vector<std::string> texts = RowTexts(cells, r.row, columns);
    if (texts.empty()) continue;
    reasons.emplace_back(rows.size(), JoinLines(r.lines));
    rows.push_back(std::move(texts));
    for (int annex : r.annexRows) {
      // An empty row the run passed over is left out: it changes nothing.
      std::vector<std::string> annexTexts = RowTexts(cells, annex, columns);
      if (!annexTexts.empty()) rows.push_back(std::move(annexTexts));
    }
  }
  if (reasons.empty()) return false;

  // The reasons go right after the widest row written, so that they stand
  // beside no text of the sheet, and never before the column after the last one
  // the import reads, so that importing the file again never reads them as
  // contract data. A row reaching the sheet's last column leaves them that
  // column.
  size_t widest =
      static_cast<size_t>(workbook::ColumnNumber(column::kAdditionalText));
  for (const auto& texts : rows) widest = std::max(widest, texts.size());
  const size_t reasonColumn =
      std::min(widest, static_cast<size_t>(workbook::kMaxColumns) - 1);
  auto setReason = [&](std::vector<std::string>& texts, std::string reason) {
    texts.resize(std::max(texts.size(), reasonColumn + 1));
    texts[reasonColumn] = std::move(reason);
  };
  if (headings > 0) setReason(rows[headings - 1], kReasonHeading);
  for (auto& [index, reason] : reasons)
    setReason(rows[index], std::move(reason));
  workbook::WriteTextWorkbook(path, rows);
  return true;
}

std::string RefusedRowsFileName(const std::string& logPath) {
  const std::string txt = ".txt";
  const bool hasTxt =
      logPath.size() >= txt.size() &&
      logPath.compare(logPath.size() - txt.size(), txt.size(), txt) == 0;
  return (hasTxt ? logPath.substr(0, logPath.size() - txt.size()) : logPath) +
         ".xlsx";
}

}  // namespace zrv::import
