#pragma once
// The first worksheet held in memory: the displayed text of every non-empty
// cell, filled once by a reader and then only read. Holds only the cells that
// exist, so a lone cell far down or far right costs no more than any other.

#include <string>
#include <vector>

#include "platform/workbook/Workbook.h"

namespace zrv::workbook {

class SheetData final : public Worksheet {
 public:
  SheetData() = default;
  SheetData(const SheetData&) = delete;
  SheetData& operator=(const SheetData&) = delete;

  // Stores the text of a cell (row and column from 1, inside the sheet's
  // limits). Empty text stores nothing; a later text for the same cell replaces
  // an earlier one.
  void Set(int row, int column, std::string text);
  // Sorts what Set collected; call once after the last Set and before any read.
  void Finish();

  int UsedRowCount() const override { return usedRows_; }
  int UsedColumnCount() const override { return usedColumns_; }
  std::string CellText(const std::string& cellName) const override;
  std::string CellText(int row, int column) const override;

 private:
  struct Entry {
    int row;
    int column;
    std::string text;
  };
  std::vector<Entry> cells_;  // sorted by row, then column, after Finish
  bool sorted_ = true;
  int usedRows_ = 0;
  int usedColumns_ = 0;
};

}  // namespace zrv::workbook
