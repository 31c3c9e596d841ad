#include "import/RefusedRows.h"

#include <algorithm>

#include "common/Text.h"
#include "import/CellReader.h"
#include "import/ColumnMap.h"
#include "platform/workbook/CellAddress.h"
#include "platform/workbook/TextWorkbookWriter.h"

namespace zrv::import {

namespace {

const char* const kReasonHeading = "Причина";

// The texts of a row from column A to its last non-empty cell; empty when the
// row holds no text. `columns` is the sheet's last used column.
std::vector<std::string> RowTexts(const CellReader& cells, int row, int columns) {
  std::vector<std::string> texts(static_cast<size_t>(columns));
  for (int c = 1; c <= columns; ++c) texts[c - 1] = cells.ReadCell(row, c);
  const auto last =
      std::find_if(texts.rbegin(), texts.rend(), [](const std::string& t) { return !t.empty(); });
  texts.erase(last.base(), texts.end());
  return texts;
}

// A text that no cell of the workbook can hold is cut, and ends with this mark
// so that nobody takes it for the whole text.
const char* const kCutMark = " …[ОТРЯЗАНО]";
const char* const kCutReason =
    "Клетка %s е отрязана до %zu знака (краят ѝ е отбелязан с …[ОТРЯЗАНО]).";

// Cuts the cells of `texts` that an .xlsx cell cannot hold; gives one reason
// line for each, naming the cell's column.
std::vector<std::string> CutLongCells(std::vector<std::string>& texts) {
  std::vector<std::string> reasons;
  const size_t mark = Utf8Length(kCutMark);
  for (size_t c = 0; c < texts.size(); ++c) {
    if (Utf8Length(texts[c]) <= workbook::kMaxCellCharacters) continue;
    texts[c] = Utf8Left(texts[c], workbook::kMaxCellCharacters - mark) + kCutMark;
    reasons.push_back(Format(kCutReason, workbook::ColumnLetters(static_cast<int>(c) + 1).c_str(),
                             workbook::kMaxCellCharacters));
  }
  return reasons;
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

void RefusedRows::AddRefusedAnnexes(int row, const std::vector<int>& annexRows,
                                    std::vector<std::string> lines) {
  refused_.push_back({row, std::move(lines), annexRows});
  lastWasRefused_ = false;
}

void RefusedRows::AddAnnexRow(int row) {
  if (lastWasRefused_) refused_.back().annexRows.push_back(row);
}

bool RefusedRows::Write(const std::string& path, const workbook::Worksheet& sheet,
                        int firstRow) const {
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
    std::vector<std::string> lines = r.lines;
    for (std::string& cut : CutLongCells(texts)) lines.push_back(std::move(cut));
    const size_t contractRow = rows.size();
    rows.push_back(std::move(texts));
    for (int annex : r.annexRows) {
      // An empty row the run passed over is left out: it changes nothing.
      std::vector<std::string> annexTexts = RowTexts(cells, annex, columns);
      if (annexTexts.empty()) continue;
      for (std::string& cut : CutLongCells(annexTexts)) lines.push_back(std::move(cut));
      rows.push_back(std::move(annexTexts));
    }
    std::string reason = JoinLines(lines);
    if (Utf8Length(reason) > workbook::kMaxCellCharacters)
      reason = Utf8Left(reason, workbook::kMaxCellCharacters - Utf8Length(kCutMark)) + kCutMark;
    reasons.emplace_back(contractRow, std::move(reason));
  }
  if (reasons.empty()) return false;

  // The reasons go right after the widest row written, so that they stand
  // beside no text of the sheet, and never before the column after the last one
  // the import reads, so that importing the file again never reads them as
  // contract data. A row reaching the sheet's last column leaves them that
  // column.
  size_t widest = static_cast<size_t>(workbook::ColumnNumber(column::kAdditionalText));
  for (const auto& texts : rows) widest = std::max(widest, texts.size());
  const size_t reasonColumn = std::min(widest, static_cast<size_t>(workbook::kMaxColumns) - 1);
  auto setReason = [&](std::vector<std::string>& texts, std::string reason) {
    texts.resize(std::max(texts.size(), reasonColumn + 1));
    texts[reasonColumn] = std::move(reason);
  };
  if (headings > 0) setReason(rows[headings - 1], kReasonHeading);
  for (auto& [index, reason] : reasons) setReason(rows[index], std::move(reason));
  workbook::WriteTextWorkbook(path, rows);
  return true;
}

std::string RefusedRowsFileName(const std::string& logPath) {
  const std::string txt = ".txt";
  const bool hasTxt = logPath.size() >= txt.size() &&
                      logPath.compare(logPath.size() - txt.size(), txt.size(), txt) == 0;
  return (hasTxt ? logPath.substr(0, logPath.size() - txt.size()) : logPath) + ".xlsx";
}

}  // namespace zrv::import
