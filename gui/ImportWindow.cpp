#include "gui/ImportWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QShowEvent>
#include <QTimer>

namespace zrv::ui {

namespace {
const char* const kCaption =
    "Импортиране на договори за наем в \"Зорвит Наеми\"";
const char* const kMunicipalityLabel = "Община";
const char* const kMunicipalityDefault = "Русе";
const char* const kFirstRowLabel = "Чети данни от ред номер :";
const char* const kFirstRowDefault = "2";
const char* const kReadButton = "Чети";
const char* const kLinksCheck = "Генерирай връзки към FTP";
const char* const kRentKindLabel = "Вид наем";

QString Tr(const char* utf8) { return QString::fromUtf8(utf8); }
}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
  setWindowTitle(Tr(kCaption));

  Edit2 = new QLineEdit(Tr(kMunicipalityDefault), this);
  Edit2->setObjectName("Edit2");
  Edit1 = new QLineEdit(Tr(kFirstRowDefault), this);
  Edit1->setObjectName("Edit1");
  Button2 = new QPushButton(Tr(kReadButton), this);
  Button2->setObjectName("Button2");
  ftpCheck = new QCheckBox(Tr(kLinksCheck), this);
  ftpCheck->setObjectName("ftpCheck");
  ftpCheck->setChecked(true);
  erLB = new QListWidget(this);
  erLB->setObjectName("erLB");
  rtLabel = new QLabel(Tr(kRentKindLabel), this);
  rtLabel->hide();
  rtCombo_ = new QComboBox(this);
  rtCombo_->setObjectName("rtCombo_");
  rtCombo_->hide();
  progress = new QProgressBar(this);
  progress->setObjectName("progress");
  progress->setFormat("%v / %m");
  progress->hide();

  auto* municipalityLabel = new QLabel(Tr(kMunicipalityLabel), this);
  municipalityLabel->setBuddy(Edit2);
  auto* firstRowLabel = new QLabel(Tr(kFirstRowLabel), this);
  firstRowLabel->setBuddy(Edit1);

  auto* grid = new QGridLayout(this);
  grid->addWidget(municipalityLabel, 0, 0);
  grid->addWidget(Edit2, 0, 1);
  grid->addWidget(firstRowLabel, 1, 0);
  grid->addWidget(Edit1, 1, 1);
  grid->addWidget(Button2, 0, 2, 2, 1);
  grid->addWidget(ftpCheck, 2, 0, 1, 3);
  grid->addWidget(rtLabel, 3, 0);
  grid->addWidget(rtCombo_, 3, 1);
  grid->addWidget(erLB, 4, 0, 1, 3);
  grid->addWidget(progress, 5, 0, 1, 3);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(4, 1);

  resize(720, 480);
  connect(Button2, &QPushButton::clicked, this, [this] {
    if (onRead) onRead();
  });
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  // Start-up runs once the window is on the screen, so a failing connection's
  // message box has its window behind it.
  QTimer::singleShot(0, this, [this] {
    if (onFirstShow) onFirstShow();
  });
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (running_) {
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

void TForm1::ClearList() { erLB->clear(); }

void TForm1::AddLine(const std::string& line) {
  erLB->addItem(QString::fromStdString(line));
  erLB->scrollToBottom();
  QCoreApplication::processEvents();
}

void TForm1::ShowProgress(int done, int total) {
  if (total <= 0) {
    progress->hide();
    return;
  }
  progress->setRange(0, total);
  progress->setValue(done);
  progress->show();
  QCoreApplication::processEvents();
}

void TForm1::SetRunning(bool running) {
  running_ = running;
  Button2->setEnabled(!running);
  Edit1->setEnabled(!running);
  Edit2->setEnabled(!running);
  ftpCheck->setEnabled(!running);
}

}  // namespace zrv::ui
