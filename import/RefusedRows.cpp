#include "import/RefusedRows.h"

#include <algorithm>

#include "common/Error.h"
#include "import/CellReader.h"
#include "platform/workbook/CellAddress.h"
#include "platform/workbook/TextWorkbookWriter.h"

namespace zrv::import {

namespace {

const char* const kReasonHeading = "Причина";
const char* const kCannotWrite =
    "Файлът с отказаните редове не може да бъде записан: ";
// The last column the import reads (AJ): the reasons go after it even when the
// sheet uses fewer columns, so that importing the file again never reads them
// as contract data.
constexpr int kLastReadColumn = 36;

std::vector<std::string> RowTexts(const CellReader& cells, int row,
                                  int columns) {
  std::vector<std::string> texts(static_cast<size_t>(columns));
  for (int c = 1; c <= columns; ++c)
    texts[c - 1] = cells.ReadCell(workbook::ColumnLetters(c), row);
  return texts;
}

bool HasText(const std::vector<std::string>& texts) {
  return std::any_of(texts.begin(), texts.end(),
                     [](const std::string& t) { return !t.empty(); });
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

void RefusedRows::AddStored(int) { lastWasRefused_ = false; }

void RefusedRows::AddAnnexRow(int row) {
  if (lastWasRefused_) refused_.back().annexRows.push_back(row);
}

bool RefusedRows::Any(const workbook::Worksheet& sheet) const {
  const CellReader cells(&sheet);
  const int columns = sheet.UsedColumnCount();
  return std::any_of(refused_.begin(), refused_.end(), [&](const Refused& r) {
    return HasText(RowTexts(cells, r.row, columns));
  });
}

void RefusedRows::Write(const std::string& path,
                        const workbook::Worksheet& sheet, int firstRow) const {
  const CellReader cells(&sheet);
  const int columns = sheet.UsedColumnCount();
  const size_t reasonColumn =
      static_cast<size_t>(std::max(columns, kLastReadColumn));
  workbook::TextRows rows;
  for (int row = 1; row < firstRow; ++row)
    rows.push_back(RowTexts(cells, row, columns));
  if (!rows.empty()) {
    rows.back().resize(reasonColumn + 1);
    rows.back()[reasonColumn] = kReasonHeading;
  }
  for (const Refused& r : refused_) {
    std::vector<std::string> texts = RowTexts(cells, r.row, columns);
    if (!HasText(texts)) continue;
    texts.resize(reasonColumn + 1);
    texts[reasonColumn] = JoinLines(r.lines);
    rows.push_back(std::move(texts));
    for (int annex : r.annexRows) {
      // An empty row the run passed over is left out: it changes nothing.
      std::vector<std::string> annexTexts = RowTexts(cells, annex, columns);
      if (HasText(annexTexts)) rows.push_back(std::move(annexTexts));
    }
  }
  try {
    workbook::WriteTextWorkbook(path, rows);
  } catch (const std::exception& e) {
    throw Error(kCannotWrite + std::string(e.what()));
  }
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
