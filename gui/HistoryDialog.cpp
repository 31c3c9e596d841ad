#include "gui/HistoryDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QVBoxLayout>
#include <exception>
#include <filesystem>

#include "common/Dates.h"
#include "common/Text.h"
#include "gui/ImportWindow.h"
#include "import/RunHistory.h"
#include "import/RunHistoryText.h"

namespace zrv::ui {

namespace {
const char* const kTitle = "История";
const char* const kUndoButton = "Отмени импортирането";
const char* const kColumns[] = {
    "№",      "Начало", "Потребител",        "Работна станция", "Работна книга",
    "Община", "Изход",  "Записани договори", "Отменено"};
const char* const kUndoneBy = "%s от %s";
const char* const kCannotRead = "Историята на импортиранията не може да се прочете:";
const char* const kConfirm = "Отмяната на импортиране %d ще премахне:";
const char* const kQuestion = "Да се отмени ли импортирането?";
const char* const kMore = "... и още %d (в подробностите)";
const char* const kRefused = "Импортиране %d не може да се отмени:";
const char* const kUndone = "Импортиране %d е отменено.";
const char* const kFailed = "Импортиране %d не е отменено:";
const char* const kNothing = "(нищо)";

constexpr int kIdRole = Qt::UserRole;
constexpr int kUndoneRole = Qt::UserRole + 1;

QString Tr(const char* utf8) { return QString::fromUtf8(utf8); }
QString Q(const std::string& text) { return QString::fromStdString(text); }

QString Joined(const std::vector<std::string>& lines) {
  QStringList list;
  for (const std::string& line : lines) list << Q(line);
  return list.join('\n');
}

// The lines shown in a box itself; the rest go under "Подробности", so that a
// run of many contracts does not make the box taller than the screen.
constexpr size_t kShownLines = 12;

// A box with `text`, its lines and `question`; gives the button clicked.
int ShowBox(QWidget* parent, QMessageBox::Icon icon, const std::string& text,
            const std::vector<std::string>& lines, const char* question,
            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton byDefault) {
  QString shown = Q(text);
  for (size_t i = 0; i < lines.size() && i < kShownLines; ++i) shown += '\n' + Q(lines[i]);
  if (lines.size() > kShownLines)
    shown += '\n' + Q(Format(kMore, static_cast<int>(lines.size() - kShownLines)));
  QMessageBox box(icon, Tr(kApplicationTitle), shown, buttons, parent);
  // Names and addresses come from the workbook: never read as markup.
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(byDefault);
  if (question) box.setInformativeText(Tr(question));
  if (lines.size() > kShownLines) box.setDetailedText(Joined(lines));
  return box.exec();
}

// What an undo removes and what it leaves because others use it.
std::vector<std::string> ReportLines(const import::UndoReport& report) {
  std::vector<std::string> lines = report.removed;
  lines.insert(lines.end(), report.kept.begin(), report.kept.end());
  if (lines.empty()) lines.push_back(kNothing);
  return lines;
}
}  // namespace

HistoryDialog::HistoryDialog(db::Connection& db, import::UndoUser by, QWidget* parent)
    : QDialog(parent), db_(db), by_(std::move(by)) {
  setWindowTitle(Tr(kTitle));
  confirm_ = [this](const std::string& question, const std::vector<std::string>& lines) {
    return ShowBox(this, QMessageBox::Question, question, lines, kQuestion,
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
  };
  tell_ = [this](const std::string& message, const std::vector<std::string>& lines) {
    ShowBox(this, QMessageBox::Information, message, lines, nullptr, QMessageBox::Ok,
            QMessageBox::Ok);
  };

  runs = new QTableWidget(0, std::size(kColumns), this);
  runs->setObjectName("runs");
  QStringList headers;
  for (const char* column : kColumns) headers << Tr(column);
  runs->setHorizontalHeaderLabels(headers);
  runs->verticalHeader()->hide();
  runs->setEditTriggers(QAbstractItemView::NoEditTriggers);
  runs->setSelectionBehavior(QAbstractItemView::SelectRows);
  runs->setSelectionMode(QAbstractItemView::SingleSelection);
  runs->horizontalHeader()->setStretchLastSection(true);
  undoButton = new QPushButton(Tr(kUndoButton), this);
  undoButton->setObjectName("undoButton");
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(undoButton);
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(runs);
  layout->addLayout(buttons);
  resize(900, 480);

  connect(runs, &QTableWidget::itemSelectionChanged, this, [this] { UpdateButton(); });
  connect(undoButton, &QPushButton::clicked, this, [this] { UndoSelected(); });
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
  Refresh();
}

void HistoryDialog::Refresh() {
  const int selected = SelectedRun();
  std::vector<import::RunRecord> records;
  try {
    records = import::ListRuns(db_);
  } catch (const std::exception& e) {
    tell_(kCannotRead, {e.what()});
  }
  runs->setRowCount(0);
  runs->setRowCount(static_cast<int>(records.size()));
  int row = 0;
  for (const import::RunRecord& r : records) {
    // A run without an end has counted nothing yet.
    const std::vector<std::string> cells = {
        std::to_string(r.id),
        FormatDMYHMS(r.started),
        r.userName,
        r.host,
        std::filesystem::path(r.workbook).filename().string(),
        r.municipality,
        import::OutcomeText(r),
        r.Finished() ? std::to_string(r.stored) : "",
        r.Undone() ? Format(kUndoneBy, FormatDMYHMS(r.undone).c_str(), r.undoneByName.c_str())
                   : ""};
    for (size_t c = 0; c < cells.size(); ++c) {
      auto* item = new QTableWidgetItem(Q(cells[c]));
      item->setData(kIdRole, r.id);
      item->setData(kUndoneRole, r.Undone());
      if (c == 4) item->setToolTip(Q(r.workbook));
      runs->setItem(row, static_cast<int>(c), item);
    }
    if (r.id == selected) runs->selectRow(row);
    ++row;
  }
  runs->resizeColumnsToContents();
  UpdateButton();
}

int HistoryDialog::SelectedRun() const {
  const QList<QTableWidgetItem*> items = runs->selectedItems();
  return items.isEmpty() ? 0 : items.front()->data(kIdRole).toInt();
}

void HistoryDialog::UpdateButton() {
  const QList<QTableWidgetItem*> items = runs->selectedItems();
  undoButton->setEnabled(!items.isEmpty() && !items.front()->data(kUndoneRole).toBool());
}

void HistoryDialog::UndoSelected() {
  const int runId = SelectedRun();
  if (runId == 0) return;
  // The undo refuses at once a run still at work; it waits only for another
  // workstation's write to the same rows, up to the wait limit.
  const auto undo = [&](bool checkOnly) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
      import::UndoReport report = import::UndoRun(db_, runId, by_, checkOnly);
      QApplication::restoreOverrideCursor();
      return report;
    } catch (...) {
      QApplication::restoreOverrideCursor();
      throw;
    }
  };
  try {
    const import::UndoReport check = undo(true);
    if (!check.refusals.empty()) {
      tell_(Format(kRefused, runId), check.refusals);
      Refresh();
      return;
    }
    const std::vector<std::string> lines = ReportLines(check);
    if (!confirm_(Format(kConfirm, runId), lines)) return;
    const import::UndoReport done = undo(false);
    if (!done.refusals.empty())
      tell_(Format(kRefused, runId), done.refusals);
    else
      tell_(Format(kUndone, runId), ReportLines(done));
  } catch (const std::exception& e) {
    tell_(Format(kFailed, runId), {e.what()});
  }
  Refresh();
}

}  // namespace zrv::ui
