#pragma once
// The refused contract rows of an import run, handed back as a workbook the
// clerk can correct and import as it is: the header rows above the first data
// row, then each refused contract row followed by the annex rows the run passed
// over with it, every cell holding the text the import read, and one added
// column "Причина" with the row's FATAL and WARNING lines.

#include <string>
#include <vector>

#include "platform/workbook/Workbook.h"

namespace zrv::import {

class RefusedRows {
 public:
  // A run starts with nothing refused.
  void Clear();
  // Contract row `row` was refused with these error-list lines (every line its
  // reading and its transaction added).
  void AddRefused(int row, std::vector<std::string> lines);
  // The contract row just read was not refused (stored, skipped as stored
  // already, or left for another import because another workstation was
  // writing the same data): the annex rows after it are not written either.
  void AddStored();
  // Contract row `row` was stored (or was stored already), but its annex rows
  // `annexRows` were refused, with these error-list lines: they are written
  // with their contract row, so that the corrected annexes can be imported
  // again onto the stored contract.
  void AddRefusedAnnexes(int row, const std::vector<int>& annexRows,
                         std::vector<std::string> lines);
  // The run skipped `row` as an annex row of the contract row read last.
  void AddAnnexRow(int row);

  // Writes the workbook to `path`; `firstRow` is the run's first data row.
  // A refused row with no text at all (an empty row between contracts) has
  // nothing to correct and is left out; when every refused row is such, nothing
  // is written and the answer is false. Throws workbook::WorkbookError naming
  // the file when it cannot be read again or written.
  bool Write(const std::string& path, const workbook::Worksheet& sheet, int firstRow) const;

 private:
  struct Refused {
    int row;
    std::vector<std::string> lines;
    std::vector<int> annexRows;
  };
  std::vector<Refused> refused_;
  bool lastWasRefused_ = false;
};

// The workbook's name beside a log file: the log's path with ".xlsx" in place
// of its ".txt".
std::string RefusedRowsFileName(const std::string& logPath);

}  // namespace zrv::import
