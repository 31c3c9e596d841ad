#include "gui/ImportController.h"

#include <QFileDialog>
#include <exception>
#include <filesystem>

namespace zrv::ui {

namespace {
// The classic workbooks first; .xlsx is read too.
const char* const kWorkbookFilter =
    "Excel files (*.xls *.XLS);;Excel files (*.xlsx *.XLSX);;Excel files "
    "(*.xls *.xlsx *.XLS *.XLSX)";
}  // namespace

ImportController::ImportController(TForm1& form, db::Connection& db,
                                   Messages& messages, StartFn start,
                                   ChooseFileFn chooseFile,
                                   TerminateFn terminate)
    : form_(form),
      db_(db),
      messages_(messages),
      start_(std::move(start)),
      chooseFile_(std::move(chooseFile)),
      terminate_(std::move(terminate)) {
  form_.onFirstShow = [this] { FormShow(); };
  form_.onRead = [this] { Button1Click(); };
}

ImportController::~ImportController() {
  form_.onFirstShow = nullptr;
  form_.onRead = nullptr;
}

void ImportController::FormShow() {
  try {
    run_ = start_(db_, messages_);
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

  // The log file goes beside the chosen workbook; the run reads the folder
  // when it writes the log, after the choice.
  const auto chooseAndKeepFolder = [this, &options] {
    std::optional<std::string> path = chooseFile_();
    if (path)
      options.logFolder =
          std::filesystem::absolute(*path).parent_path().string();
    return path;
  };

  form_.SetRunning(true);
  try {
    last_ = run_->Run(options, chooseAndKeepFolder, this);
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
  return path.toStdString();
}

}  // namespace zrv::ui
