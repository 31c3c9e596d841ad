#include "gui/QtMessages.h"

#include "gui/ImportWindow.h"

namespace zrv::ui {

void QtMessages::ShowMessage(const std::string& text) {
  Show(QMessageBox::Warning, text);
}

void QtMessages::ShowError(const std::string& text) {
  Show(QMessageBox::Critical, text);
}

void QtMessages::Show(QMessageBox::Icon icon, const std::string& text) {
  QMessageBox box(icon, QString::fromUtf8(kApplicationTitle),
                  QString::fromStdString(text), QMessageBox::Ok, parent_);
  box.exec();
}

}  // namespace zrv::ui
