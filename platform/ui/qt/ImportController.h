#pragma once
// The face of the import window over the import run: start-up on the window's
// first showing, one run per click on "Чети", the error list and the progress
// bar kept up to date while the run works. The run object is the same one
// `zorvit import` uses; nothing of it is written here.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "import/ImportRun.h"
#include "platform/db/Database.h"
#include "platform/ui/Messages.h"
#include "platform/ui/qt/ImportWindow.h"

namespace zrv::ui {

class ImportController : public import::ImportObserver {
 public:
  // Connects the database and returns the error text, empty on success.
  using ConnectFn = std::function<std::string(db::Connection&)>;
  // The file dialog: the chosen workbook, or nullopt when cancelled.
  using ChooseFileFn = std::function<std::optional<std::string>()>;
  // Ends the application (the window's start-up failed).
  using TerminateFn = std::function<void()>;

  // Everything given must outlive the controller. The controller connects
  // itself to the window's first showing and to its button. `readSetting` reads
  // the stored settings the run's modules take at start-up (none: defaults).
  ImportController(TForm1& form, db::Connection& db, Messages& messages,
                   int32_t userId, ConnectFn connect, ChooseFileFn chooseFile,
                   TerminateFn terminate,
                   import::ImportRun::SettingReader readSetting = {});
  ~ImportController() override;

  // Window start-up: connect; on failure show the error text and terminate;
  // otherwise start the run object (formats, module hand-over, rent types).
  void FormShow();
  // The click on "Чети".
  void Button1Click();

  // The last run's result (outcome kNotStarted before the first run).
  const import::RunResult& LastResult() const { return last_; }

  void ListCleared() override;
  void LineAdded(const std::string& line) override;
  void RowsStarting(int rowsTotal) override;
  void RowDone(int row, int rowsDone, int rowsTotal) override;
  bool StopRequested() override { return stopCheck_ && stopCheck_(); }

  // Asked between rows: true stops a run in progress (the program was asked to
  // end).
  void SetStopCheck(std::function<bool()> check) {
    stopCheck_ = std::move(check);
  }

 private:
  TForm1& form_;
  db::Connection& db_;
  Messages& messages_;
  int32_t userId_;
  ConnectFn connect_;
  ChooseFileFn chooseFile_;
  TerminateFn terminate_;
  import::ImportRun::SettingReader readSetting_;
  std::unique_ptr<import::ImportRun> run_;
  import::RunResult last_;
  std::function<bool()> stopCheck_;
};

// The window's file dialog for workbooks; on a choice it makes the workbook's
// folder the current directory, where the log file is written.
std::optional<std::string> ChooseWorkbookFile(QWidget* parent);

}  // namespace zrv::ui
