#pragma once
// A worksheet read from its file as the cells are asked for, for sheets too
// large to hold in memory. The reader gives the cells in sheet order (rows
// ascending, columns ascending within a row); the sheet keeps a window of rows
// around the last row asked for. Reading forward, as the import and `zorvit
// cells` do, reads the file once; a row before the window starts the reading
// over from the file's beginning. A file that can no longer be read gives
// SheetRereadError. HoldOrStream chooses between this and a sheet held in
// memory.

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/workbook/Workbook.h"

namespace zrv::workbook {

struct StreamCell {
  int row = 0;
  int column = 0;
  std::string text;  // displayed text, never empty
};

// The cells of a sheet in sheet order, read from the start.
class CellStream {
 public:
  virtual ~CellStream() = default;
  // The next cell; false at the end. Throws WorkbookError when the file cannot
  // be read.
  virtual bool Next(StreamCell& cell) = 0;
};

class StreamedSheet final : public Worksheet {
 public:
  // `open` starts a new reading of the cells; the used range has been measured
  // by a reading before.
  StreamedSheet(std::function<std::unique_ptr<CellStream>()> open, int usedRows, int usedColumns);

  int UsedRowCount() const override { return usedRows_; }
  int UsedColumnCount() const override { return usedColumns_; }
  std::string CellText(const std::string& cellName) const override;
  std::string CellText(int row, int column) const override;

  // Rows kept behind the last row asked for: the import looks back no further
  // than the row it is at.
  static constexpr int kRowsBehind = 64;

 private:
  void ReadThrough(int row) const;
  void Restart() const;

  std::function<std::unique_ptr<CellStream>()> open_;
  int usedRows_;
  int usedColumns_;
  // The window: cells of the rows read and kept, by row, each (column, text).
  mutable std::map<int, std::vector<std::pair<int, std::string>>> rows_;
  mutable std::unique_ptr<CellStream> stream_;
  mutable StreamCell pending_;  // read from the stream, not yet in the window
  mutable bool hasPending_ = false;
  mutable bool ended_ = false;
  mutable int firstKept_ = 1;  // rows before this have left the window
};

// Reads a sheet once through `open`: a sheet of up to `cellsHeldInMemory`
// cells is held in memory; a larger one is measured and then read again
// through `open` as it is asked for. Such a sheet must give its cells in sheet
// order, as spreadsheet applications write them; one that does not is refused
// with a WorkbookError naming the file `name`.
std::unique_ptr<Worksheet> HoldOrStream(std::function<std::unique_ptr<CellStream>()> open,
                                        const std::string& name, size_t cellsHeldInMemory);

}  // namespace zrv::workbook
