#include "gui/ImportController.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <exception>

namespace zrv::ui {

namespace {
// The classic workbooks first; .xlsx is read too.
const char* const kWorkbookFilter =
    "Excel files (*.xls *.XLS);;Excel files (*.xlsx *.XLSX);;Excel files "
    "(*.xls *.xlsx *.XLS *.XLSX)";
}  // namespace

ImportController::ImportController(TForm1& form, db::Connection& db,
                                   Messages& messages, int32_t userId,
                                   ConnectFn connect, ChooseFileFn chooseFile,
                                   TerminateFn terminate,
                                   import::ImportRun::SettingReader readSetting)
    : form_(form),
      db_(db),
      messages_(messages),
      userId_(userId),
      connect_(std::move(connect)),
      chooseFile_(std::move(chooseFile)),
      terminate_(std::move(terminate)),
      readSetting_(std::move(readSetting)) {
  form_.onFirstShow = [this] { FormShow(); };
  form_.onRead = [this] { Button1Click(); };
}

ImportController::~ImportController() {
  form_.onFirstShow = nullptr;
  form_.onRead = nullptr;
}

void ImportController::FormShow() {
  const std::string error = connect_(db_);
  if (!error.empty()) {
    messages_.ShowMessage(error);
    terminate_();
    return;
  }
  try {
    run_ = std::make_unique<import::ImportRun>(db_, messages_, userId_);
    run_->Start(readSetting_);
  } catch (const std::exception& e) {
    run_.reset();
    messages_.ShowMessage(e.what());
    terminate_();
  }
}

void ImportController::Button1Click() {
  if (!run_) return;
  import::ImportOptions options;
  options.municipality = form_.Edit2->text().trimmed().toStdString();
  options.firstRowText = form_.Edit1->text().toStdString();
  options.fileLinks = form_.ftpCheck->isChecked();

  form_.SetRunning(true);
  try {
    last_ = run_->Run(options, chooseFile_, this);
    // The stop rule may end the loop before the last row it could visit: the
    // run is complete.
    if (last_.outcome == import::RunOutcome::kFinished)
      form_.ShowProgress(last_.summary.rowsTotal, last_.summary.rowsTotal);
  } catch (const std::exception& e) {
    messages_.ShowMessage(e.what());
  }
  form_.SetRunning(false);
}

void ImportController::ListCleared() { form_.ClearList(); }

void ImportController::LineAdded(const std::string& line) {
  form_.AddLine(line);
}

void ImportController::RowsStarting(int rowsTotal) {
  form_.ShowProgress(0, rowsTotal);
}

void ImportController::RowDone(int /*row*/, int rowsDone, int rowsTotal) {
  form_.ShowProgress(rowsDone, rowsTotal);
}

std::optional<std::string> ChooseWorkbookFile(QWidget* parent) {
  const QString path = QFileDialog::getOpenFileName(
      parent, QString(), QString(), QString::fromUtf8(kWorkbookFilter));
  if (path.isEmpty()) return std::nullopt;
  QDir::setCurrent(QFileInfo(path).absolutePath());
  return path.toStdString();
}

}  // namespace zrv::ui
