#include "gui/RowCellsView.h"

#include <QHeaderView>
#include <QVBoxLayout>

namespace zrv::ui {

namespace {
const char* const kTitle = "Ред %1 от работната книга";
const char* const kColumnHeader = "Колона";
const char* const kMeaningHeader = "Значение";
const char* const kTextHeader = "Прочетен текст";

QTableWidgetItem* Cell(const std::string& text) {
  return new QTableWidgetItem(QString::fromStdString(text));
}
}  // namespace

RowCellsView::RowCellsView(int row, const std::vector<import::RowCell>& cells, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(kTitle).arg(row));
  table = new QTableWidget(static_cast<int>(cells.size()), 3, this);
  table->setHorizontalHeaderLabels({QString::fromUtf8(kColumnHeader),
                                    QString::fromUtf8(kMeaningHeader),
                                    QString::fromUtf8(kTextHeader)});
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->verticalHeader()->hide();
  for (int i = 0; i < table->rowCount(); ++i) {
    table->setItem(i, 0, Cell(cells[i].column));
    table->setItem(i, 1, Cell(cells[i].meaning));
    table->setItem(i, 2, Cell(cells[i].text));
  }
  table->resizeColumnsToContents();
  table->horizontalHeader()->setStretchLastSection(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table);
  resize(620, 520);
}

}  // namespace zrv::ui
