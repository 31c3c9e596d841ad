#include "platform/workbook/StreamedSheet.h"

#include <algorithm>

#include "platform/workbook/CellAddress.h"
#include "platform/workbook/Readers.h"
#include "platform/workbook/SheetData.h"

namespace zrv::workbook {

namespace {
constexpr const char* kOutOfOrder = "клетките на голям лист не са подредени по редове и колони";
}  // namespace

StreamedSheet::StreamedSheet(std::function<std::unique_ptr<CellStream>()> open, int usedRows,
                             int usedColumns)
    : open_(std::move(open)), usedRows_(usedRows), usedColumns_(usedColumns) {
  Restart();
}

std::string StreamedSheet::CellText(const std::string& cellName) const {
  int row = 0;
  int column = 0;
  if (!ParseCellName(cellName, row, column)) return "";
  return CellText(row, column);
}

std::string StreamedSheet::CellText(int row, int column) const {
  if (row < 1 || row > usedRows_ || column < 1 || column > usedColumns_) return "";
  try {
    if (row < firstKept_) Restart();
    ReadThrough(row);
  } catch (const WorkbookError& e) {
    // The file read well when the sheet was opened; the next cell asked for
    // starts the reading over rather than go on from where it broke.
    rows_.clear();
    firstKept_ = kMaxRows + 1;
    throw SheetRereadError(e.what());
  }
  const auto found = rows_.find(row);
  if (found == rows_.end()) return "";
  const auto& cells = found->second;
  const auto cell =
      std::lower_bound(cells.begin(), cells.end(), column,
                       [](const std::pair<int, std::string>& c, int col) { return c.first < col; });
  return cell != cells.end() && cell->first == column ? cell->second : "";
}

void StreamedSheet::Restart() const {
  rows_.clear();
  hasPending_ = false;
  ended_ = false;
  firstKept_ = 1;
  stream_ = open_();
}

// Reads the cells up to and including `row` into the window and lets the rows
// more than kRowsBehind before it go.
void StreamedSheet::ReadThrough(int row) const {
  const int keepFrom = std::max(1, row - kRowsBehind);
  if (keepFrom > firstKept_) {
    rows_.erase(rows_.begin(), rows_.lower_bound(keepFrom));
    firstKept_ = keepFrom;
  }
  while (!ended_) {
    if (!hasPending_) {
      hasPending_ = stream_->Next(pending_);
      if (!hasPending_) {
        ended_ = true;
        break;
      }
    }
    if (pending_.row > row) break;
    hasPending_ = false;
    if (pending_.row < firstKept_) continue;
    auto& cells = rows_[pending_.row];
    // A later text for the same cell replaces an earlier one.
    if (!cells.empty() && cells.back().first == pending_.column)
      cells.back().second = std::move(pending_.text);
    else
      cells.emplace_back(pending_.column, std::move(pending_.text));
  }
}

std::unique_ptr<Worksheet> HoldOrStream(std::function<std::unique_ptr<CellStream>()> open,
                                        const std::string& name, size_t cellsHeldInMemory) {
  auto held = std::make_unique<SheetData>();
  size_t cells = 0;
  int usedRows = 0, usedColumns = 0, lastRow = 0, lastColumn = 0;
  bool inOrder = true;
  const auto stream = open();
  for (StreamCell cell; stream->Next(cell);) {
    if (cell.row < lastRow || (cell.row == lastRow && cell.column < lastColumn)) inOrder = false;
    lastRow = cell.row;
    lastColumn = cell.column;
    usedRows = std::max(usedRows, cell.row);
    usedColumns = std::max(usedColumns, cell.column);
    if (++cells <= cellsHeldInMemory) {
      held->Set(cell.row, cell.column, std::move(cell.text));
    } else if (held) {
      held.reset();  // too large to hold: read again as it is asked for
    }
    if (!held && !inOrder) throw WorkbookError(CannotRead(name, kOutOfOrder));
  }
  if (held) {
    held->Finish();
    return held;
  }
  return std::make_unique<StreamedSheet>(std::move(open), usedRows, usedColumns);
}

}  // namespace zrv::workbook
