#pragma once
// The import run: reads rental contracts from the first worksheet of a workbook
// and stores each complete row (property, representative, tenant, contract,
// annexes, file link, rent schedule) all-or-nothing, in batches of rows
// committed together (import/RunTransactions.h). Every problem of a row
// becomes a line of the error list; the list is saved as a log file when the
// run ends.
//
// An ImportRun is the engine behind the import window and `zorvit import`; it
// needs no window. What it shows or asks goes through the three things it is
// given:
//   - ui::Messages for the modal message boxes (a municipality not in the
//     register, a row that failed in the database, ...);
//   - a WorkbookChooser, asked once per run for the workbook (the window's
//     file dialog; the command line gives its argument); no path means the
//     user cancelled;
//   - an ImportObserver (optional) told about the error list growing and the
//     rows done, so that a window can paint a progress bar and the list
//     between rows.
//
// Use: construct it with a run context (the caller connects first), call
// Start() once (key tables), then Run() any number of times.
// One thread; the connection, the messages and the observer must outlive the
// object, and nothing else may use the connection while Run() works.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Dates.h"
#include "import/RunContext.h"
#include "platform/db/Database.h"
#include "platform/ui/Messages.h"

namespace zrv::import {

// What the user typed or chose in the window.
struct ImportOptions {
  std::string municipality = "Русе";  // "Община"
  std::string firstRowText = "2";  // "Чети данни от ред номер :"; 2 when it is not a number
  bool fileLinks = true;  // "Генерирай връзки към FTP"
  // Store a contract row again although the same contract (number, date,
  // property and tenant) is stored already.
  bool allowDuplicates = false;
  // Folder of the log file; empty means the process's current directory. Read
  // when the log is written, after the workbook is chosen (the window sets it
  // to the workbook's folder from its chooser).
  std::string logFolder = {};
  // A dry run ("Само проверка, без запис"): every row goes through every check
  // and statement as in a real run, inside one transaction that is rolled back
  // at the end, so nothing stays in the database (classifier entries
  // included).
  bool checkOnly = false;
  // A header row that does not match the template's titles (see HeaderCheck.h)
  // stops the run before its first row instead of being asked about.
  bool strictHeader = false;
};

// The figures of one run, for the summary that closes it.
struct ImportSummary {
  int rowsTotal = 0;  // rows the loop may visit: first row to one past the used range
  int rowsRead = 0;   // rows read as contract rows (skipped annex rows not counted)
  int contractsStored = 0;
  int rowsSkipped = 0;  // rows whose contract was stored already
  // Rows not stored because another workstation kept writing the same data
  // (a tenant, a property, a link to the same property) at the same moment,
  // even after several tries; nothing is wrong with them, and importing the
  // workbook again stores them. Not counted among rowsRefused.
  int rowsBusy = 0;
  int rowsRetried = 0;     // rows tried more than once for that reason
  int rowsRefused = 0;     // rows read and not stored: FATAL lines or a failed transaction
  int annexesStored = 0;   // annexes of committed rows, numbers 2 and up
  int annexesDropped = 0;  // annex rows refused with a WARNING
  // Annex rows of a contract imported again that are stored already.
  int annexesSkipped = 0;
  int classifierEntriesAdded = 0;  // -1 when the database could not be asked
  std::string logFile;             // path of the log written, empty when the list stayed empty
  std::string logProblem;          // why the log could not be written; else empty
  // The moment the log's name carries as a day number, for showing it
  // readably beside the name; 0 when no log was written.
  TDate logMoment = 0;
  // Path of the workbook of the refused contract rows written beside the log
  // (same name, ".xlsx"); empty when no row with text was refused.
  std::string refusedRowsFile;
  // Why that workbook could not be written although rows were refused; else
  // empty.
  std::string refusedRowsProblem;
  int lastRow = 0;        // last row the loop reached
  int lastStoredRow = 0;  // row of the last contract committed, 0 when none
  double elapsedSeconds = 0;
  bool checkOnly = false;
  // The run's number in the run history (zorvit runs, zorvit undo); 0 for a
  // dry run and for a run that did not get as far as its workbook.
  int32_t runId = 0;  // a dry run: the figures say what would be stored
};

// How a run ended.
enum class RunOutcome {
  kFinished,        // the loop ran (rows may have been refused)
  kCancelled,       // no workbook chosen, the chosen file does not exist, or
                    // the user would not go on past a header row that does not
                    // match
  kNotStarted,      // municipality refused, workbook unreadable, settlements not
                    // loaded, header row refused (strictHeader)
  kInterrupted,     // stopped at a row boundary because the observer asked to
  kConnectionLost,  // stopped because the database connection failed
  kWorkbookLost,    // stopped because the workbook's file could no longer be
                    // read part way through
  kDatabaseFailed,  // stopped because the database itself failed (disk full,
                    // I/O error, damage, shut down)
};

// A contract the run stored: its id, its number (doc_nomtxt) and the
// worksheet row it came from. In a dry run the id is the one the rolled-back
// insert was given, which no contract keeps.
struct StoredContractRow {
  int32_t id = 0;
  std::string number;
  int row = 0;
};

struct RunResult {
  RunOutcome outcome = RunOutcome::kNotStarted;
  std::string reason;  // why the run did not start or stopped early (the
                       // message the user saw)
  ImportSummary summary;
  // The contracts stored by this run, in the order stored; contracts stored
  // before (rows skipped) are not among them.
  std::vector<StoredContractRow> storedContracts;
};

class ImportObserver {
 public:
  virtual ~ImportObserver() = default;
  // The error list was emptied at the start of a run.
  virtual void ListCleared() {}
  // A line was appended to the error list.
  virtual void LineAdded(const std::string& line) { (void)line; }
  // The loop is about to visit at most `rowsTotal` rows.
  virtual void RowsStarting(int rowsTotal) { (void)rowsTotal; }
  // Row `row` is done; `rowsDone` of `rowsTotal` visited so far.
  virtual void RowDone(int row, int rowsDone, int rowsTotal) {
    (void)row, (void)rowsDone, (void)rowsTotal;
  }
  // Asked before every row and before a row is committed: true stops the run
  // there (the row in progress is rolled back), lists one line naming the row
  // and ends the run with kInterrupted, the log written.
  virtual bool StopRequested() { return false; }
};

// Asks for the workbook to read; nullopt when the user cancelled.
using WorkbookChooser = std::function<std::optional<std::string>()>;

class ImportRun {
 public:
  explicit ImportRun(const RunContext& context, ui::Messages& messages);
  ~ImportRun();
  ImportRun(const ImportRun&) = delete;
  ImportRun& operator=(const ImportRun&) = delete;

  // Learns which key tables the database keeps (the rent-type table is read
  // by each run). Call once, before the first Run. Database errors travel on.
  void Start();

  // One run (the "Чети" button): checks the municipality, asks for the
  // workbook, empties the error list, compares the header row with the
  // template's titles (a mismatch is asked about through the messages, or
  // refused with strictHeader), reads the rows from the first row to one
  // past the used range and stores every complete one, then writes the log file
  // when the list is not empty, and beside it the workbook of the refused
  // contract rows when there are any (see RefusedRows.h). A row that fails is
  // rolled back, shown in a message box and listed; the run goes on with the
  // next row. When the database connection itself fails, or gives no answer
  // within the wait limit, the run stops instead (kConnectionLost), and so it
  // does when the database cannot write (kDatabaseFailed): one message names
  // the cause and the last row stored; the row in progress is rolled back, not
  // refused. A log file or workbook that cannot be written is shown in a
  // message box, and the log's reason is kept in the summary. Throws
  // zrv::Error when Start() has not been called.
  RunResult Run(const ImportOptions& options, const WorkbookChooser& chooseWorkbook,
                ImportObserver* observer = nullptr);

  // The error list of the last run that got past the file choice.
  const std::vector<std::string>& ErrorLines() const;
  // The worksheet row each line of ErrorLines() names (0: none).
  const std::vector<int>& ErrorRows() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zrv::import
