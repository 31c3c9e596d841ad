// The login dialog, shown when the host program runs a Qt application.

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/login/Prompts.h"

namespace zrv::login {

namespace {
const char* const kTitle = "Вход";
const char* const kUserLabel = "Потребител:";
const char* const kPasswordLabel = "Парола:";
const char* const kOk = "Вход";
const char* const kCancel = "Отказ";
}  // namespace

bool HaveQtApplication() {
  return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

bool AskInDialog(Credentials& credentials, const std::string& problem) {
  QDialog dialog(QApplication::activeWindow());
  dialog.setWindowTitle(QString::fromUtf8(kTitle));

  auto* user = new QLineEdit(QString::fromStdString(credentials.userName));
  auto* password = new QLineEdit;
  password->setEchoMode(QLineEdit::Password);
  user->setMaxLength(50);
  password->setMaxLength(50);

  auto* form = new QFormLayout;
  form->addRow(QString::fromUtf8(kUserLabel), user);
  form->addRow(QString::fromUtf8(kPasswordLabel), password);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(kOk));
  buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(kCancel));
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

  auto* layout = new QVBoxLayout(&dialog);
  if (!problem.empty()) {
    auto* label = new QLabel(QString::fromStdString(problem));
    label->setWordWrap(true);
    layout->addWidget(label);
  }
  layout->addLayout(form);
  layout->addWidget(buttons);
  (credentials.userName.empty() ? user : password)->setFocus();

  if (dialog.exec() != QDialog::Accepted) return false;
  credentials.userName = user->text().toStdString();
  credentials.password = password->text().toStdString();
  return true;
}

}  // namespace zrv::login
