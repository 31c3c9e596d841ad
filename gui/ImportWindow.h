#pragma once
// The import window: the municipality and first-row fields, the "Чети" and
// "Спри" buttons, the run's check boxes, the error list and a progress bar. It holds no import
// logic: its owner connects `onFirstShow` (the start-up) and `onRead` (one run)
// and drives the list and the progress bar through the operations below.

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace zrv::ui {

// The program's title: message boxes and the About box carry it.
inline constexpr char kApplicationTitle[] = "Зорвит Имоти 2007 - импортиране на договори за наем";

class TForm1 : public QWidget {
 public:
  explicit TForm1(QWidget* parent = nullptr);

  // Called once, when the window is first shown (after it is painted).
  std::function<void()> onFirstShow;
  // Called by a click on "Чети".
  std::function<void()> onRead;
  // Called by a click on "Спри", and when the clerk closing the window during
  // a run chose to stop it: the run is to stop at the next row boundary.
  std::function<void()> onStop;
  // Asked when the window is closed while a run that can stop works: true
  // stops the run at the next row and closes the window after it, false
  // keeps both going. By default a question box; a test may replace it.
  std::function<bool()> askStopOnClose;
  // Called by a double click on line `index` of the error list.
  std::function<void(int index)> onLineChosen;
  // Called by a click on the button that opens the log file's folder.
  std::function<void()> onOpenLogFolder;
  // Called by a click on the button that opens the workbook of refused rows.
  std::function<void()> onOpenRefusedRows;
  // Called by a click on "Длъжници".
  std::function<void()> onDebtors;
  // Called by a click on "История".
  std::function<void()> onHistory;

  QLineEdit* Edit1 = nullptr;              // first row to read
  QLineEdit* Edit2 = nullptr;              // municipality
  QPushButton* Button2 = nullptr;          // "Чети"
  QPushButton* stopButton = nullptr;       // "Спри", enabled while a run works
  QListWidget* erLB = nullptr;             // error list
  QLabel* doubleClickHint = nullptr;       // a double click shows a line's row
  QCheckBox* ftpCheck = nullptr;           // "Генерирай връзки към FTP"
  QCheckBox* duplicatesCheck = nullptr;    // store contracts stored already
  QCheckBox* checkOnlyCheck = nullptr;     // check every row, store nothing
  QComboBox* rtCombo_ = nullptr;           // hidden, not used
  QLabel* rtLabel = nullptr;               // "Вид наем", hidden
  QProgressBar* progress = nullptr;        // rows done of N while a run works
  QGroupBox* summaryBox = nullptr;         // the last run's summary, after a run
  QPushButton* openLogFolder = nullptr;    // opens the log file's folder
  QPushButton* openRefusedRows = nullptr;  // opens the refused rows' workbook
  QPushButton* debtors = nullptr;          // the list of debtors as a workbook
  QPushButton* history = nullptr;          // the run history, where a run is undone
  QPushButton* about = nullptr;            // the About box
  QLabel* givenWorkbook = nullptr;         // the workbook "Чети" reads without asking
  QLabel* sessionLine = nullptr;           // the database and the user logged in

  void ClearList();
  // Appends a line and scrolls to it; the window repaints before the run goes
  // on.
  void AddLine(const std::string& line);
  // Shows rows done of total; total 0 hides the bar. Between the first and the
  // last row the bar is redrawn at most every tenth of a second, so a long run
  // does not spend its time repainting.
  void ShowProgress(int done, int total);
  // Disables the inputs while a run works, so a second click cannot start a run
  // inside a run. `stoppable` work (an import run) enables "Спри" and is
  // asked about when the window is closed; other work keeps the window open
  // until it ends. When the work ends after the clerk chose to stop and close,
  // the window closes.
  void SetRunning(bool running, bool stoppable = false);
  // Shows the summary of a finished or stopped run, one (label, value) pair a
  // line, in two columns of pairs so that the error list keeps most of the
  // height; the log folder button works when `hasLog`, and the button that
  // opens the workbook of refused rows is shown only when `hasRefusedRows`.
  void ShowSummary(const std::vector<std::pair<std::string, std::string>>& lines, bool hasLog,
                   bool hasRefusedRows);
  // Shows the workbook the next run reads without the file dialog; an empty
  // path hides the line.
  void ShowGivenWorkbook(const std::string& path);
  // Shows, at the foot of the window, the database and the user the window
  // works with.
  void ShowSession(const std::string& database, const std::string& user);
  // The About box: the program's title and version.
  void ShowAbout();

 protected:
  void showEvent(QShowEvent* event) override;
  // While a run works the window stays open (the run holds the row's
  // transaction): closing it asks whether to stop the run at the next row and
  // close after it.
  void closeEvent(QCloseEvent* event) override;

 private:
  QElapsedTimer progressShown_;  // since the bar was last redrawn
  bool shown_ = false;
  bool running_ = false;
  bool stoppable_ = false;
  bool closeWhenIdle_ = false;  // the clerk chose to stop and close
};

}  // namespace zrv::ui
