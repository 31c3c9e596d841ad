#include "gui/QtMessages.h"

#include <QApplication>
#include <QMessageBox>

namespace zrv::ui {

void QtMessages::ShowMessage(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(),
                  QString::fromStdString(text), QMessageBox::Ok, parent_);
  box.exec();
}

}  // namespace zrv::ui
