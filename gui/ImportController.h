#pragma once
// The face of the import window over the import run: start-up on the window's
// first showing, one run per click on "Чети", the error list and the progress
// bar kept up to date while the run works. The run object is the same one
// `zorvit import` uses; nothing of it is written here.

#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "gui/DebtorsAction.h"
#include "gui/ImportWindow.h"
#include "gui/RowCellsView.h"
#include "import/ImportRun.h"
#include "platform/db/Database.h"
#include "platform/ui/Messages.h"

namespace zrv::ui {

class ImportController : public import::ImportObserver {
 public:
  // The start-up of the run: connects the database and gives a started run
  // that shows its boxes through the messages; throws with the text to show
  // when it cannot.
  using StartFn = std::function<std::unique_ptr<import::ImportRun>(db::Connection&, Messages&)>;
  // The file dialog: the chosen workbook, or nullopt when cancelled.
  using ChooseFileFn = std::function<std::optional<std::string>()>;
  // Ends the application (the window's start-up failed).
  using TerminateFn = std::function<void()>;
  // Hands a file or folder to the desktop's application for it.
  using OpenUrlFn = std::function<bool(const QUrl&)>;

  // Everything given must outlive the controller. The controller connects
  // itself to the window's first showing and to its button.
  ImportController(TForm1& form, db::Connection& db, Messages& messages, StartFn start,
                   ChooseFileFn chooseFile, TerminateFn terminate);
  ~ImportController() override;

  // Window start-up: start the run (connect, formats, module hand-over, rent
  // types); on failure show the error text and terminate.
  void FormShow();
  // The click on "Чети".
  void Button1Click();
  // The click on "Спри" (or the clerk's choice to stop when closing the
  // window): the run in progress stops at its next row boundary, as on Ctrl-C,
  // and its summary is shown. Nothing when no run works.
  void StopRun();
  // The workbook the next run reads instead of asking with the file dialog
  // (given on the command line, as the desktop's "Open with" does); the window
  // shows it until a run has taken it, and later runs ask again.
  void SetGivenWorkbook(const std::string& path);
  // The folder of the log files from the settings (log-dir); without one the
  // log goes beside the workbook.
  void SetLogFolder(const std::string& folder) { logFolder_ = folder; }
  // The run's options as the window's fields and check boxes give them (the
  // log folder, unless the settings give one, is set once the workbook is
  // chosen).
  import::ImportOptions FormOptions() const;

  // True while a run works.
  bool Running() const { return running_; }

  // The last run's result (outcome kNotStarted before the first run).
  const import::RunResult& LastResult() const { return last_; }

  // A double click on line `index` of the error list: the cells of the row it
  // names, read again from the workbook of the last run, in a table beside the
  // window. A line that names no row, or a click while a run works, opens
  // nothing; a workbook that cannot be read any more is shown in a message box.
  void ShowRowOfLine(int index);
  // The table of the last line chosen (none before).
  RowCellsView* RowView() const { return rowView_.get(); }
  // Opens the folder of the shown summary's log file in the desktop's file
  // manager.
  void OpenLogFolder();
  // Opens the shown summary's workbook of refused rows with the desktop's
  // application for workbooks.
  void OpenRefusedRows();
  // Replaces the desktop's opener (QDesktopServices::openUrl), so that a test
  // sees what would be opened.
  void SetUrlOpener(OpenUrlFn open) { openUrl_ = std::move(open); }
  // The click on "Длъжници": the list at the date asked for, written beside
  // the shown summary's log (in the current folder before any run) and
  // opened. Nothing while a run works.
  void ShowDebtors();
  // Replaces the dialog that asks for the list's date, for a test.
  void SetDateAsker(DebtorsAction::AskDateFn ask) { askDate_ = std::move(ask); }

  void ListCleared() override;
  void LineAdded(const std::string& line) override;
  void RowsStarting(int rowsTotal) override;
  void RowDone(int row, int rowsDone, int rowsTotal) override;
  bool StopRequested() override { return stopAsked_ || (stopCheck_ && stopCheck_()); }

  // Asked between rows: true stops a run in progress (the program was asked to
  // end).
  void SetStopCheck(std::function<bool()> check) { stopCheck_ = std::move(check); }

 private:
  TForm1& form_;
  db::Connection& db_;
  Messages& messages_;
  StartFn start_;
  ChooseFileFn chooseFile_;
  TerminateFn terminate_;
  std::unique_ptr<import::ImportRun> run_;
  import::RunResult last_;
  // The summary the window shows: that of the last finished run, which a
  // cancelled file dialog leaves in place.
  import::ImportSummary shown_;
  std::string workbook_;              // the workbook of the last finished run
  std::optional<std::string> given_;  // read by the next run without asking
  std::string logFolder_;             // from the settings; empty: beside the workbook
  bool running_ = false;
  bool stopAsked_ = false;  // "Спри" during the run in progress
  std::unique_ptr<RowCellsView> rowView_;
  std::function<bool()> stopCheck_;
  OpenUrlFn openUrl_;
  DebtorsAction::AskDateFn askDate_;
};

// The window's file dialog for workbooks.
std::optional<std::string> ChooseWorkbookFile(QWidget* parent);

}  // namespace zrv::ui
