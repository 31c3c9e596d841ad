#include "gui/ImportWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "Version.h"
#include "gui/QtMessages.h"
#include "import/RunSummaryText.h"

namespace zrv::ui {

namespace {
const char* const kCaption = "Импортиране на договори за наем в \"Зорвит Наеми\"";
const char* const kMunicipalityLabel = "Община";
const char* const kMunicipalityDefault = "Русе";
const char* const kFirstRowLabel = "Чети данни от ред номер :";
const char* const kFirstRowDefault = "2";
const char* const kReadButton = "Чети";
const char* const kStopButton = "Спри";
const char* const kStopButtonTip = "Спира импортирането след реда в ход; записаното дотук остава";
const char* const kDoubleClickHint =
    "Двойно щракване върху ред от списъка показва клетките на реда от "
    "работната книга.";
const char* const kCloseDuringRun = "Импортирането още работи.";
const char* const kCloseQuestion =
    "Да спре ли след реда в ход и прозорецът да се затвори? Записаното дотук "
    "остава.";
const char* const kStopAndClose = "Спри и затвори";
const char* const kKeepRunning = "Продължи";
const char* const kLinksCheck = "Генерирай връзки към FTP";
const char* const kDuplicatesCheck = "Записвай и вече записаните договори";
const char* const kCheckOnlyCheck = "Само проверка, без запис";
const char* const kRentKindLabel = "Вид наем";
const char* const kOpenLogFolder = "Отвори папката на лога";
const char* const kOpenRefusedRows = "Отвори отказаните редове";
const char* const kDebtorsButton = "Длъжници";
const char* const kHistoryButton = "История";
const char* const kAboutButton = "За програмата";
const char* const kAboutTitle = "За програмата";
const char* const kVersionLabel = "Версия ";
const char* const kGivenWorkbook = "Работна книга за \"Чети\": ";
const char* const kSessionDatabase = "База данни: ";
const char* const kSessionUser = "    Потребител: ";

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
  stopButton = new QPushButton(Tr(kStopButton), this);
  stopButton->setObjectName("stopButton");
  stopButton->setToolTip(Tr(kStopButtonTip));
  stopButton->setEnabled(false);
  ftpCheck = new QCheckBox(Tr(kLinksCheck), this);
  ftpCheck->setObjectName("ftpCheck");
  ftpCheck->setChecked(true);
  duplicatesCheck = new QCheckBox(Tr(kDuplicatesCheck), this);
  duplicatesCheck->setObjectName("duplicatesCheck");
  checkOnlyCheck = new QCheckBox(Tr(kCheckOnlyCheck), this);
  checkOnlyCheck->setObjectName("checkOnlyCheck");
  erLB = new QListWidget(this);
  erLB->setObjectName("erLB");
  doubleClickHint = new QLabel(Tr(kDoubleClickHint), this);
  doubleClickHint->setObjectName("doubleClickHint");
  doubleClickHint->setForegroundRole(QPalette::PlaceholderText);
  rtLabel = new QLabel(Tr(kRentKindLabel), this);
  rtLabel->hide();
  rtCombo_ = new QComboBox(this);
  rtCombo_->setObjectName("rtCombo_");
  rtCombo_->hide();
  progress = new QProgressBar(this);
  progress->setObjectName("progress");
  progress->setFormat("%v / %m");
  progress->hide();
  summaryBox = new QGroupBox(Tr(import::kSummaryTitle), this);
  summaryBox->setObjectName("summaryBox");
  // Lines close together: the summary gives up height to the error list.
  auto* summaryGrid = new QGridLayout(summaryBox);
  summaryGrid->setVerticalSpacing(1);
  summaryGrid->setHorizontalSpacing(12);
  summaryBox->hide();
  openLogFolder = new QPushButton(Tr(kOpenLogFolder), this);
  openLogFolder->setObjectName("openLogFolder");
  openLogFolder->setEnabled(false);
  // Shown only after a run that wrote such a workbook.
  openRefusedRows = new QPushButton(Tr(kOpenRefusedRows), this);
  openRefusedRows->setObjectName("openRefusedRows");
  openRefusedRows->hide();
  debtors = new QPushButton(Tr(kDebtorsButton), this);
  debtors->setObjectName("debtors");
  history = new QPushButton(Tr(kHistoryButton), this);
  history->setObjectName("history");
  about = new QPushButton(Tr(kAboutButton), this);
  about->setObjectName("about");
  givenWorkbook = new QLabel(this);
  givenWorkbook->setObjectName("givenWorkbook");
  givenWorkbook->setTextInteractionFlags(Qt::TextSelectableByMouse);
  givenWorkbook->hide();
  sessionLine = new QLabel(this);
  sessionLine->setObjectName("sessionLine");
  sessionLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
  sessionLine->hide();

  auto* municipalityLabel = new QLabel(Tr(kMunicipalityLabel), this);
  municipalityLabel->setBuddy(Edit2);
  auto* firstRowLabel = new QLabel(Tr(kFirstRowLabel), this);
  firstRowLabel->setBuddy(Edit1);

  auto* grid = new QGridLayout(this);
  grid->addWidget(municipalityLabel, 0, 0);
  grid->addWidget(Edit2, 0, 1);
  grid->addWidget(firstRowLabel, 1, 0);
  grid->addWidget(Edit1, 1, 1);
  auto* runButtons = new QVBoxLayout;
  runButtons->addWidget(Button2);
  runButtons->addWidget(stopButton);
  grid->addLayout(runButtons, 0, 2, 2, 1);
  // The check boxes side by side: every line saved is the error list's.
  auto* checks = new QVBoxLayout;
  checks->addWidget(givenWorkbook);
  auto* checkRow = new QHBoxLayout;
  checkRow->addWidget(ftpCheck);
  checkRow->addWidget(duplicatesCheck);
  checkRow->addWidget(checkOnlyCheck);
  checkRow->addStretch(1);
  checks->addLayout(checkRow);
  grid->addLayout(checks, 2, 0, 1, 3);
  grid->addWidget(rtLabel, 3, 0);
  grid->addWidget(rtCombo_, 3, 1);
  grid->addWidget(erLB, 4, 0, 1, 3);
  grid->addWidget(doubleClickHint, 5, 0, 1, 3);
  grid->addWidget(progress, 6, 0, 1, 3);
  grid->addWidget(summaryBox, 7, 0, 1, 3);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(openLogFolder);
  buttons->addWidget(openRefusedRows);
  buttons->addStretch(1);
  buttons->addWidget(debtors);
  buttons->addWidget(history);
  buttons->addWidget(about);
  grid->addLayout(buttons, 8, 0, 1, 3);
  grid->addWidget(sessionLine, 9, 0, 1, 3);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(4, 1);

  // Fits a 1024x768 screen; the error list takes what the rest leaves.
  resize(760, 680);
  // "Продължи" is the default: Enter does not stop the run by accident.
  askStopOnClose = [this] {
    return AskInBox(this, kCloseDuringRun, kCloseQuestion, kStopAndClose, kKeepRunning);
  };
  connect(Button2, &QPushButton::clicked, this, [this] {
    if (onRead) onRead();
  });
  connect(stopButton, &QPushButton::clicked, this, [this] {
    stopButton->setEnabled(false);  // asked once; the run stops at its row
    if (onStop) onStop();
  });
  connect(erLB, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    if (onLineChosen) onLineChosen(erLB->row(item));
  });
  connect(openLogFolder, &QPushButton::clicked, this, [this] {
    if (onOpenLogFolder) onOpenLogFolder();
  });
  connect(openRefusedRows, &QPushButton::clicked, this, [this] {
    if (onOpenRefusedRows) onOpenRefusedRows();
  });
  connect(debtors, &QPushButton::clicked, this, [this] {
    if (onDebtors) onDebtors();
  });
  connect(history, &QPushButton::clicked, this, [this] {
    if (onHistory) onHistory();
  });
  connect(about, &QPushButton::clicked, this, [this] { ShowAbout(); });
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
    // Asked once: a second close while the run stops changes nothing.
    if (!stoppable_ || closeWhenIdle_) return;
    if (askStopOnClose && askStopOnClose() && running_) {
      closeWhenIdle_ = true;
      stopButton->setEnabled(false);
      if (onStop) onStop();
    }
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
  constexpr qint64 kRedrawMs = 100;
  const bool edge = done == 0 || done >= total;
  if (!edge && progressShown_.isValid() && progressShown_.elapsed() < kRedrawMs) return;
  progressShown_.start();
  if (progress->maximum() != total) progress->setRange(0, total);
  progress->setValue(done);
  progress->show();
  QCoreApplication::processEvents();
}

void TForm1::ShowSummary(const std::vector<std::pair<std::string, std::string>>& lines, bool hasLog,
                         bool hasRefusedRows) {
  auto* layout = static_cast<QGridLayout*>(summaryBox->layout());
  while (QLayoutItem* item = layout->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  // Down the first pair of columns, then down the second.
  const int rows = (static_cast<int>(lines.size()) + 1) / 2;
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    const auto& [label, value] = lines[i];
    const int column = i < rows ? 0 : 2;
    layout->addWidget(new QLabel(QString::fromStdString(label), summaryBox), i % rows, column);
    auto* shown = new QLabel(QString::fromStdString(value), summaryBox);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(shown, i % rows, column + 1);
  }
  layout->setColumnStretch(1, 1);
  layout->setColumnStretch(3, 1);
  summaryBox->show();
  openLogFolder->setEnabled(hasLog);
  openRefusedRows->setVisible(hasRefusedRows);
}

void TForm1::ShowGivenWorkbook(const std::string& path) {
  givenWorkbook->setText(Tr(kGivenWorkbook) + QString::fromStdString(path));
  givenWorkbook->setVisible(!path.empty());
}

void TForm1::ShowSession(const std::string& database, const std::string& user) {
  sessionLine->setText(Tr(kSessionDatabase) + QString::fromStdString(database) + Tr(kSessionUser) +
                       QString::fromStdString(user));
  sessionLine->show();
}

void TForm1::ShowAbout() {
  QMessageBox::about(
      this, Tr(kAboutTitle),
      Tr(kApplicationTitle) + "\n" + Tr(kVersionLabel) + QString::fromUtf8(ZRV_VERSION));
}

void TForm1::SetRunning(bool running, bool stoppable) {
  running_ = running;
  stoppable_ = running && stoppable;
  stopButton->setEnabled(stoppable_);
  Button2->setEnabled(!running);
  Edit1->setEnabled(!running);
  Edit2->setEnabled(!running);
  ftpCheck->setEnabled(!running);
  duplicatesCheck->setEnabled(!running);
  checkOnlyCheck->setEnabled(!running);
  debtors->setEnabled(!running);
  history->setEnabled(!running);
  if (!running && closeWhenIdle_) {
    closeWhenIdle_ = false;
    // After the caller has finished with the run's result.
    QTimer::singleShot(0, this, [this] { close(); });
  }
}

}  // namespace zrv::ui
