#pragma once
// A small read-only table of one workbook row: column letter, what the column
// means to the import and the text read, opened from a line of the error list.

#include <QDialog>
#include <QTableWidget>
#include <vector>

#include "import/RowCells.h"

namespace zrv::ui {

class RowCellsView : public QDialog {
 public:
  RowCellsView(int row, const std::vector<import::RowCell>& cells, QWidget* parent = nullptr);

  QTableWidget* table = nullptr;
};

}  // namespace zrv::ui
