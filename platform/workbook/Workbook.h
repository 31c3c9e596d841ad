#pragma once
// A workbook as the import reads it: the first worksheet, its used range and
// the displayed text of each cell. Opening reads the whole first worksheet
// once; an .xlsx or .ods sheet of ordinary size is then answered from memory,
// a very large one, and every .xls sheet, by reading the file again as the
// rows are asked for.

#include <memory>
#include <string>
#include <string_view>

#include "common/Error.h"

namespace zrv::workbook {

class WorkbookError : public zrv::Error {
 public:
  using zrv::Error::Error;
};

// A sheet read from its file as its rows are asked for could not read the file
// again (changed, removed or damaged since it was opened): the cells from there
// on are unknown, so the reading must stop rather than take them for empty.
class SheetRereadError : public WorkbookError {
 public:
  using WorkbookError::WorkbookError;
};

class Worksheet {
 public:
  virtual ~Worksheet() = default;
  // Rows of the used range: the number of the last row holding a value
  // (formatting alone does not count); 0 for an empty sheet.
  virtual int UsedRowCount() const = 0;
  // Number of the last used column (1 = A), 0 for an empty sheet.
  virtual int UsedColumnCount() const = 0;
  // The displayed text of a cell named like "A2" or "AE17" (UTF-8, untrimmed);
  // "" when empty, an error value, or a name that does not parse. Throws
  // SheetRereadError when the sheet cannot read its file again.
  virtual std::string CellText(const std::string& cellName) const = 0;
  // The same by position (row and column from 1).
  virtual std::string CellText(int row, int column) const = 0;
};

// Opens a workbook file (.xls, .xlsx or .ods, told by its content) and gives
// its first worksheet. Throws WorkbookError with a message naming the file when
// it cannot be read: a missing file, a directory, a FIFO, a symlink loop, a
// file without read permission, no workbook, a damaged or hostile one.
std::unique_ptr<Worksheet> OpenFirstWorksheet(const std::string& path);

// True when `firstBytes` (a file's first bytes) begin as a workbook container
// does: an OLE2 compound file (.xls) or a ZIP archive (.xlsx, .ods).
bool HasWorkbookSignature(std::string_view firstBytes);

// The message OpenFirstWorksheet would give for a path that is no readable
// file (missing, a directory, a FIFO, a symlink loop, no permission); "" for a
// regular file that can be opened. Never waits on a FIFO.
std::string WorkbookFileProblem(const std::string& path);

}  // namespace zrv::workbook
