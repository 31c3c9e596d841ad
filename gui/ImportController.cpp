#include "gui/ImportController.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>
#include <exception>
#include <filesystem>
#include <utility>
#include <vector>

#include "common/Dates.h"
#include "import/RowCells.h"
#include "import/RunSummaryText.h"

namespace zrv::ui {

namespace {
// Every workbook format the run reads, first; Qt's dialog matches the
// patterns whatever the letter case.
const char* const kWorkbookFilter = "Работни книги (*.xls *.xlsx *.ods);;Всички файлове (*)";
// After the log's path: the moment its name carries as a day number.
const char* const kLogMomentOpen = "  (";
const char* const kLogMomentClose = ")";

// The summary's lines as the window shows them: the log's line also gives the
// run's moment readably.
std::vector<std::pair<std::string, std::string>> WindowSummaryLines(
    const import::ImportSummary& summary) {
  std::vector<std::pair<std::string, std::string>> lines;
  for (const auto& line : import::SummaryLines(summary)) {
    std::string value = line.value;
    if (line.label == import::kLogFileLabel && !summary.logFile.empty())
      value += kLogMomentOpen + FormatDMYHMS(summary.logMoment) + kLogMomentClose;
    lines.emplace_back(line.label, value);
  }
  return lines;
}
}  // namespace

ImportController::ImportController(TForm1& form, db::Connection& db, Messages& messages,
                                   StartFn start, ChooseFileFn chooseFile, TerminateFn terminate)
    : form_(form),
      db_(db),
      messages_(messages),
      start_(std::move(start)),
      chooseFile_(std::move(chooseFile)),
      terminate_(std::move(terminate)),
      openUrl_([](const QUrl& url) { return QDesktopServices::openUrl(url); }),
      askDate_([&form] { return AskDebtorsDate(&form); }) {
  form_.onFirstShow = [this] { FormShow(); };
  form_.onRead = [this] { Button1Click(); };
  form_.onStop = [this] { StopRun(); };
  form_.onLineChosen = [this](int index) { ShowRowOfLine(index); };
  form_.onOpenLogFolder = [this] { OpenLogFolder(); };
  form_.onOpenRefusedRows = [this] { OpenRefusedRows(); };
  form_.onDebtors = [this] { ShowDebtors(); };
}

ImportController::~ImportController() {
  form_.onFirstShow = nullptr;
  form_.onRead = nullptr;
  form_.onStop = nullptr;
  form_.onLineChosen = nullptr;
  form_.onOpenLogFolder = nullptr;
  form_.onOpenRefusedRows = nullptr;
  form_.onDebtors = nullptr;
}

void ImportController::FormShow() {
  try {
    run_ = start_(db_, messages_);
  } catch (const std::exception& e) {
    run_.reset();
    messages_.ShowError(e.what());
    terminate_();
  }
}

void ImportController::SetGivenWorkbook(const std::string& path) {
  given_ = path;
  form_.ShowGivenWorkbook(path);
}

zrv::import::ImportOptions ImportController::FormOptions() const {
  import::ImportOptions options;
  options.municipality = form_.Edit2->text().trimmed().toStdString();
  options.firstRowText = form_.Edit1->text().toStdString();
  options.fileLinks = form_.ftpCheck->isChecked();
  options.allowDuplicates = form_.duplicatesCheck->isChecked();
  options.checkOnly = form_.checkOnlyCheck->isChecked();
  options.logFolder = logFolder_;
  return options;
}

void ImportController::Button1Click() {
  if (!run_) return;
  import::ImportOptions options = FormOptions();

  // The log file goes to the settings' folder, else beside the chosen
  // workbook; the run reads the folder when it writes the log, after the
  // choice.
  std::optional<std::string> chosen;
  const auto chooseAndKeepFolder = [this, &options, &chosen] {
    std::optional<std::string> path;
    if (given_) {
      path.swap(given_);
      form_.ShowGivenWorkbook("");
    } else {
      path = chooseFile_();
    }
    chosen = path;
    if (path && options.logFolder.empty())
      options.logFolder = std::filesystem::absolute(*path).parent_path().string();
    return path;
  };

  form_.SetRunning(true, true);
  running_ = true;
  stopAsked_ = false;
  try {
    last_ = run_->Run(options, chooseAndKeepFolder, this);
    // The list now holds lines of the chosen workbook whenever the run read
    // it, also when it stopped on the way.
    if (last_.outcome == import::RunOutcome::kFinished ||
        last_.outcome == import::RunOutcome::kInterrupted ||
        last_.outcome == import::RunOutcome::kConnectionLost ||
        last_.outcome == import::RunOutcome::kWorkbookLost ||
        last_.outcome == import::RunOutcome::kDatabaseFailed)
      workbook_ = chosen.value_or("");
    // The stop rule may end the loop before the last row it could visit: the
    // run is complete. A run stopped by "Спри" shows what it did up to the
    // row it stopped at.
    const bool finished = last_.outcome == import::RunOutcome::kFinished;
    if (finished || last_.outcome == import::RunOutcome::kInterrupted) {
      if (finished) form_.ShowProgress(last_.summary.rowsTotal, last_.summary.rowsTotal);
      shown_ = last_.summary;
      form_.ShowSummary(WindowSummaryLines(shown_), !shown_.logFile.empty(),
                        !shown_.refusedRowsFile.empty());
    }
  } catch (const std::exception& e) {
    workbook_.clear();  // the list may hold lines of a run that broke off
    messages_.ShowMessage(e.what());
  }
  running_ = false;
  form_.SetRunning(false);
}

void ImportController::StopRun() {
  if (running_) stopAsked_ = true;
}

void ImportController::ShowRowOfLine(int index) {
  // While a run works, the list and the rows it names belong to a workbook
  // not yet finished.
  if (!run_ || running_ || workbook_.empty()) return;
  const std::vector<int>& rows = run_->ErrorRows();
  if (index < 0 || index >= static_cast<int>(rows.size()) || rows[index] <= 0) return;
  try {
    rowView_ = std::make_unique<RowCellsView>(rows[index],
                                              import::ReadRowCells(workbook_, rows[index]), &form_);
    rowView_->setWindowFlag(Qt::Window);
    rowView_->show();
  } catch (const std::exception& e) {
    messages_.ShowMessage(e.what());
  }
}

void ImportController::OpenLogFolder() {
  const std::string& log = shown_.logFile;
  if (log.empty()) return;
  const QString folder = QFileInfo(QString::fromStdString(log)).absolutePath();
  openUrl_(QUrl::fromLocalFile(folder));
}

void ImportController::OpenRefusedRows() {
  const std::string& file = shown_.refusedRowsFile;
  if (file.empty()) return;
  const QString path = QFileInfo(QString::fromStdString(file)).absoluteFilePath();
  openUrl_(QUrl::fromLocalFile(path));
}

void ImportController::ShowDebtors() {
  if (!run_ || running_) return;
  const std::string folder =
      shown_.logFile.empty()
          ? std::filesystem::current_path().string()
          : QFileInfo(QString::fromStdString(shown_.logFile)).absolutePath().toStdString();
  form_.SetRunning(true);
  running_ = true;
  DebtorsAction(db_, messages_, askDate_, openUrl_).Run(folder, [this](int done, int total) {
    form_.ShowProgress(done, total);
  });
  form_.ShowProgress(0, 0);
  running_ = false;
  form_.SetRunning(false);
}

void ImportController::ListCleared() {
  // The lines to come belong to a workbook not yet read.
  workbook_.clear();
  form_.ClearList();
}

void ImportController::LineAdded(const std::string& line) { form_.AddLine(line); }

void ImportController::RowsStarting(int rowsTotal) { form_.ShowProgress(0, rowsTotal); }

void ImportController::RowDone(int /*row*/, int rowsDone, int rowsTotal) {
  form_.ShowProgress(rowsDone, rowsTotal);
}

std::optional<std::string> ChooseWorkbookFile(QWidget* parent) {
  const QString path = QFileDialog::getOpenFileName(parent, QString(), QString(),
                                                    QString::fromUtf8(kWorkbookFilter));
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

}  // namespace zrv::ui
