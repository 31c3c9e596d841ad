#include "gui/QtMessages.h"

#include <QPushButton>

#include "gui/ImportWindow.h"

namespace zrv::ui {

namespace {
const char* const kYes = "Да";
const char* const kNo = "Не";
}  // namespace

void QtMessages::ShowMessage(const std::string& text) { Show(QMessageBox::Warning, text); }

void QtMessages::ShowError(const std::string& text) { Show(QMessageBox::Critical, text); }

bool AskInBox(QWidget* parent, const std::string& text, const std::string& question,
              const char* yes, const char* no) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(kApplicationTitle),
                  QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No, parent);
  box.setInformativeText(QString::fromStdString(question));
  box.button(QMessageBox::Yes)->setText(QString::fromUtf8(yes));
  box.button(QMessageBox::No)->setText(QString::fromUtf8(no));
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

bool QtMessages::Ask(const std::string& text, const std::string& question, bool /*unanswered*/) {
  return AskInBox(parent_, text, question, kYes, kNo);
}

void QtMessages::Show(QMessageBox::Icon icon, const std::string& text) {
  QMessageBox box(icon, QString::fromUtf8(kApplicationTitle), QString::fromStdString(text),
                  QMessageBox::Ok, parent_);
  box.exec();
}

}  // namespace zrv::ui
