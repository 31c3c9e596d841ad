// zorvit import [OPTIONS] WORKBOOK
//
// --check is a dry run: every row is checked and written as in a real run, and
// everything is rolled back at the end.
//
// Imports the contracts of a workbook into the property database the login
// names, the same run the import window makes: the error list goes to standard
// output line by line as it grows, message boxes become lines on standard
// error, and a summary closes the run (also as JSON with --summary-json). On a
// terminal a progress line on standard error shows the rows done and the pace.
//
// Exit code 0 when every row was stored; 3 when the run went through with rows
// (or annex rows) refused, that is with a line in the error list; 1 when it
// could not start (login refused, no database, unknown municipality, unreadable
// workbook) or stopped because the database connection failed, the database
// gave no answer within the wait limit or could not write; 2 for a command
// line it does not understand; 130 or 143 when SIGINT or SIGTERM stopped it
// (at the next row boundary, or by aborting a statement that does not end,
// with the log and the summary written).

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "app/DatabaseConnection.h"
#include "app/Entry.h"
#include "app/RunStartup.h"
#include "app/Session.h"
#include "app/TerminationSignals.h"
#include "cli/Command.h"
#include "cli/ConnectOptions.h"
#include "cli/SummaryJson.h"
#include "common/Error.h"
#include "common/SystemErrorText.h"
#include "common/Text.h"
#include "import/ImportRun.h"
#include "import/RunSummaryText.h"
#include "platform/db/Firebird.h"
#include "platform/login/DatabaseLocation.h"
#include "platform/ui/Messages.h"
#include "platform/workbook/CellAddress.h"
#include "platform/workbook/Workbook.h"

namespace zrv::cli {

namespace {

constexpr const char* kSummary =
    "внася договорите от работна книга; списъкът с грешки на стандартния "
    "изход, обобщение накрая";
constexpr const char* kBadFirstRow = "--first-row иска номер на ред от 1 до ";
constexpr const char* kNotStarted = "Импортирането не започна.";
constexpr const char* kCannotWriteJson =
    "Файлът за обобщението не може да се запише: ";

// Progress on standard error while rows are read: the line is rewritten in
// place, at most a few times a second, and wiped before anything else is
// printed.
class Progress {
 public:
  Progress() : enabled_(isatty(STDERR_FILENO) == 1) {}

  void Start(int total) {
    total_ = total;
    began_ = Clock::now();
    shownAt_ = began_ - std::chrono::seconds(1);
  }

  void Show(int done) {
    if (!enabled_) return;
    const auto now = Clock::now();
    if (done < total_ && now - shownAt_ < std::chrono::milliseconds(200))
      return;
    shownAt_ = now;
    const double seconds = std::chrono::duration<double>(now - began_).count();
    const double pace = seconds > 0 ? done / seconds : 0;
    std::cerr << "\r\033[Kред " << done << " от " << total_ << ", "
              << Format("%.0f", pace) << " реда/с" << std::flush;
    visible_ = true;
  }

  void Wipe() {
    if (!visible_) return;
    std::cerr << "\r\033[K" << std::flush;
    visible_ = false;
  }

 private:
  using Clock = std::chrono::steady_clock;
  bool enabled_;
  bool visible_ = false;
  int total_ = 0;
  Clock::time_point began_;
  Clock::time_point shownAt_;
};

// Message boxes of the run as lines on standard error.
class StderrMessages : public ui::Messages {
 public:
  explicit StderrMessages(Progress& progress) : progress_(progress) {}
  void ShowMessage(const std::string& text) override {
    progress_.Wipe();
    std::cerr << TerminalText(text) << std::endl;
  }

 private:
  Progress& progress_;
};

// The error list on standard output as it grows, and the progress line.
class ConsoleObserver : public import::ImportObserver {
 public:
  explicit ConsoleObserver(Progress& progress) : progress_(progress) {}
  void LineAdded(const std::string& line) override {
    progress_.Wipe();
    std::cout << line << std::endl;
  }
  void RowsStarting(int rowsTotal) override { progress_.Start(rowsTotal); }
  void RowDone(int /*row*/, int rowsDone, int /*rowsTotal*/) override {
    progress_.Show(rowsDone);
  }
  bool StopRequested() override { return app::TerminationRequested(); }

 private:
  Progress& progress_;
};

void PrintSummary(const import::ImportSummary& s) {
  std::cout << "\n--- " << import::kSummaryTitle << " ---\n"
            << import::SummaryText(s);
}

int Fail(const std::string& reason) {
  std::cerr << TerminalText(reason) << std::endl;
  return kExitFailed;
}

// The JSON summary when it was asked for; false when it could not be written.
bool WriteJson(std::ofstream& json, const SummaryReport& report) {
  if (!json.is_open()) return true;
  WriteSummaryJson(json, report);
  json.close();
  return !json.fail();
}

int RunImport(const ParsedArgs& args) {
  // SIGINT and SIGTERM stop the run at a row boundary instead of ending the
  // process in the middle of a row.
  app::CatchTerminationSignals();
  UseDatabaseOption(args);
  const std::optional<std::string> password = GivenPassword(args);
  const std::string workbook = args.Operands()[0];
  import::ImportOptions options;
  options.municipality = args.Value("municipality", options.municipality);
  // The run would quietly start at its default row for a first row that is no
  // number; here a first row no sheet can have is a mistake on the command
  // line.
  const std::string firstRow = args.Value("first-row", options.firstRowText);
  int32_t firstRowNumber = 0;
  if (!TryParseInt(firstRow, firstRowNumber) || firstRowNumber < 1 ||
      firstRowNumber > workbook::kMaxRows) {
    throw UsageError(kBadFirstRow + std::to_string(workbook::kMaxRows) + ": " +
                     firstRow);
  }
  options.firstRowText = std::to_string(firstRowNumber);
  options.fileLinks = !args.Has("no-links");
  options.allowDuplicates = args.Has("allow-duplicates");
  options.checkOnly = args.Has("check");
  // Without it a header row that does not match is a warning on standard
  // error; with it the run stops before the first row (exit code 1).
  options.strictHeader = args.Has("strict-header");
  // The settings' log folder (key log-dir), else the current folder.
  options.logFolder = args.Value("log-dir");

  // Opened before anything is stored, so that a path it cannot write stops
  // the run before it starts.
  const std::string jsonPath = args.Value("summary-json");
  std::ofstream json;
  if (args.Has("summary-json")) {
    json.open(jsonPath, std::ios::binary | std::ios::trunc);
    if (!json)
      return Fail(kCannotWriteJson + jsonPath + " (" + SystemErrorText(errno) +
                  ")");
  }
  SummaryReport report{.workbook = workbook, .exitCode = kExitFailed};
  // A run that cannot start says why, in the JSON summary too.
  auto stop = [&](const std::string& reason) {
    report.reason = reason;
    WriteJson(json, report);
    return Fail(reason);
  };

  const std::string workbookProblem = workbook::WorkbookFileProblem(workbook);
  if (!workbookProblem.empty()) return stop(workbookProblem);

  // The login library finds the database the same way; a missing, held or
  // stuck embedded file is named here rather than reported as a refused login.
  const std::string databaseProblem =
      app::DatabaseProblem(login::DefaultDatabasePath());
  if (!databaseProblem.empty()) return stop(databaseProblem);

  // Both options give a login without a prompt; anything else asks, as the
  // window does.
  std::vector<std::string> credentials;
  if (args.Has("user") && password)
    credentials = {args.Value("user"), *password};
  // SIGINT or SIGTERM at the login prompt ends the prompt's read as if the
  // clerk cancelled it; the run was interrupted, not refused.
  SessionValues session;
  try {
    LoginOutcome login = LoginFromParameters(credentials);
    if (!login) {
      app::StopIfTerminationRequested();
      return stop(kLoginRefused);
    }
    session = *login.session;
  } catch (const app::TerminationRequestedError& e) {
    report.exitCode = app::TerminationExitCode();
    report.reason = e.what();
    WriteJson(json, report);
    std::cerr << TerminalText(e.what()) << std::endl;
    return report.exitCode;
  }

  Progress progress;
  StderrMessages messages(progress);
  ConsoleObserver observer(progress);
  auto connection = db::MakeFirebirdConnection();
  std::unique_ptr<import::ImportRun> started;
  try {
    started = app::StartImportRun(*connection, messages, session);
  } catch (const std::exception& e) {
    return stop(e.what());
  }
  import::ImportRun& run = *started;

  const import::RunResult result = run.Run(
      options, [&workbook] { return std::optional<std::string>(workbook); },
      &observer);
  progress.Wipe();

  // The reason has been shown as a message on standard error already.
  if (result.outcome != import::RunOutcome::kFinished &&
      result.outcome != import::RunOutcome::kInterrupted &&
      result.outcome != import::RunOutcome::kConnectionLost &&
      result.outcome != import::RunOutcome::kWorkbookLost &&
      result.outcome != import::RunOutcome::kDatabaseFailed) {
    report.reason = result.reason.empty() ? kNotStarted : result.reason;
    WriteJson(json, report);
    return Fail(kNotStarted);
  }
  const import::ImportSummary& summary = result.summary;
  report.finished = result.outcome == import::RunOutcome::kFinished;
  report.summary = summary;
  report.errors = run.ErrorLines();
  // A contract row or an annex row that was not stored (also one left for
  // another import because another workstation was writing the same data);
  // warnings about data that was stored (a wrong check digit, a contract
  // stored before) do not count.
  const bool refused = summary.rowsRefused > 0 || summary.rowsBusy > 0 ||
                       summary.annexesDropped > 0;
  report.exitCode = refused ? kExitRowsRefused : kExitOk;
  if (result.outcome == import::RunOutcome::kConnectionLost ||
      result.outcome == import::RunOutcome::kWorkbookLost ||
      result.outcome == import::RunOutcome::kDatabaseFailed) {
    report.reason = result.reason;
    report.exitCode = kExitFailed;
  } else if (app::TerminationRequested()) {
    report.reason = result.reason;
    report.exitCode = app::TerminationExitCode();
  }
  PrintSummary(summary);
  if (!WriteJson(json, report)) return Fail(kCannotWriteJson + jsonPath);
  return report.exitCode;
}

const CommandRegistration kImport{
    {.words = {"import"},
     .operands = "КНИГА",
     .minOperands = 1,
     .maxOperands = 1,
     .summary = kSummary,
     .options = WithLoginOptions({
         {"municipality", "ИМЕ", "община (по подразбиране \"Русе\")"},
         {"first-row", "N", "първият ред с данни (по подразбиране 2)"},
         {"no-links", "", "без връзки към сканираните договори"},
         {"allow-duplicates", "",
          "записва и договорите, които вече са записани"},
         {"check", "",
          "само проверка: всеки ред минава като при запис, накрая всичко се "
          "отменя"},
         {"strict-header", "",
          "отказва книга, чийто заглавен ред не съвпада с колоните на "
          "шаблона"},
         {"summary-json", "ФАЙЛ",
          "записва обобщението и списъка с грешки като JSON"},
     }),
     .details = kExitCodesHelp,
     .run = &RunImport}};

}  // namespace

}  // namespace zrv::cli
