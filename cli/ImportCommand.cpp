// zorvit import [OPTIONS] WORKBOOK
//
// --check is a dry run: every row is checked and written as in a real run, and
// everything is rolled back at the end.
//
// Imports the contracts of a workbook into the property database the login
// names, the same run the import window makes: the error list goes to standard
// output line by line as it grows, message boxes become lines on standard
// error, and a summary closes the run (also as JSON with --summary-json, "-"
// for standard output: the error list and the summary text then go to
// standard error, so that standard output holds the JSON alone). On a
// terminal a progress line on standard error shows the rows done, the pace and
// the time left (--progress: also elsewhere; --quiet: neither it nor the
// summary text). The log and the refused rows' workbook go to --log-dir.
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
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "app/DatabaseConnection.h"
#include "app/Entry.h"
#include "app/RunStartup.h"
#include "app/Session.h"
#include "app/SettingKeys.h"
#include "app/TerminationSignals.h"
#include "cli/Command.h"
#include "cli/ConnectOptions.h"
#include "cli/RowsProgress.h"
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
constexpr const char* kCannotWriteJson = "Файлът за обобщението не може да се запише: ";
constexpr const char* kStandardOutput = "-";
constexpr const char* kQuietAndProgress = "--quiet и --progress не се дават заедно";
constexpr const char* kLogDirOption = "--log-dir ";

// Message boxes of the run as lines on standard error.
class StderrMessages : public ui::Messages {
 public:
  explicit StderrMessages(RowsProgress& progress) : progress_(progress) {}
  void ShowMessage(const std::string& text) override {
    progress_.Wipe();
    std::cerr << TerminalText(text) << std::endl;
  }

 private:
  RowsProgress& progress_;
};

// The error list as it grows (on standard output, or on standard error when
// the JSON summary takes standard output), and the progress line.
class ConsoleObserver : public import::ImportObserver {
 public:
  ConsoleObserver(RowsProgress& progress, std::ostream& lines)
      : progress_(progress), lines_(lines) {}
  void LineAdded(const std::string& line) override {
    progress_.Wipe();
    lines_ << line << std::endl;
  }
  void RowsStarting(int rowsTotal) override { progress_.Start(rowsTotal); }
  void RowDone(int /*row*/, int rowsDone, int /*rowsTotal*/) override { progress_.Show(rowsDone); }
  bool StopRequested() override { return app::TerminationRequested(); }

 private:
  RowsProgress& progress_;
  std::ostream& lines_;
};

void PrintSummary(std::ostream& out, const import::ImportSummary& s) {
  out << "\n--- " << import::kSummaryTitle << " ---\n" << import::SummaryText(s);
}

int Fail(const std::string& reason) {
  std::cerr << TerminalText(reason) << std::endl;
  return kExitFailed;
}

// Where the JSON summary goes: nowhere, a file, or standard output ("-").
class JsonTarget {
 public:
  // Opens the file before anything is stored, so that a path it cannot write
  // stops the run before it starts; false then.
  bool Open(const ParsedArgs& args) {
    if (!args.Has("summary-json")) return true;
    path_ = args.Value("summary-json");
    if (path_ == kStandardOutput) {
      toStandardOutput_ = true;
      return true;
    }
    file_.open(path_, std::ios::binary | std::ios::trunc);
    return file_.is_open();
  }
  bool ToStandardOutput() const { return toStandardOutput_; }
  const std::string& Path() const { return path_; }

  // False when it was asked for and could not be written.
  bool Write(const SummaryReport& report) {
    if (toStandardOutput_) {
      WriteSummaryJson(std::cout, report);
      std::cout.flush();
      return !std::cout.fail();
    }
    if (!file_.is_open()) return true;
    WriteSummaryJson(file_, report);
    file_.close();
    return !file_.fail();
  }

 private:
  std::string path_;
  bool toStandardOutput_ = false;
  std::ofstream file_;
};

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
    throw UsageError(kBadFirstRow + std::to_string(workbook::kMaxRows) + ": " + firstRow);
  }
  options.firstRowText = std::to_string(firstRowNumber);
  options.fileLinks = !args.Has("no-links");
  options.allowDuplicates = args.Has("allow-duplicates");
  options.checkOnly = args.Has("check");
  // Without it a header row that does not match is a warning on standard
  // error; with it the run stops before the first row (exit code 1).
  options.strictHeader = args.Has("strict-header");
  // --log-dir, else the settings' log folder (key log-dir), else the current
  // folder; the refused rows' workbook goes beside the log.
  options.logFolder = args.Value("log-dir");
  if (args.Has("log-dir")) {
    const std::string problem = app::SettingProblem("log-dir", options.logFolder);
    if (!problem.empty()) throw UsageError(kLogDirOption + problem);
  }
  const bool quiet = args.Has("quiet");
  if (quiet && args.Has("progress")) throw UsageError(kQuietAndProgress);

  JsonTarget json;
  if (!json.Open(args))
    return Fail(kCannotWriteJson + json.Path() + " (" + SystemErrorText(errno) + ")");
  // Standard output carries the JSON alone when it goes there; the error list
  // and the summary text go to standard error then.
  std::ostream& lines = json.ToStandardOutput() ? std::cerr : std::cout;
  SummaryReport report{.workbook = workbook, .exitCode = kExitFailed};
  // A run that cannot start says why, in the JSON summary too.
  auto stop = [&](const std::string& reason) {
    report.reason = reason;
    json.Write(report);
    return Fail(reason);
  };

  const std::string workbookProblem = workbook::WorkbookFileProblem(workbook);
  if (!workbookProblem.empty()) return stop(workbookProblem);

  // The login library finds the database the same way; a missing, held or
  // stuck embedded file is named here rather than reported as a refused login.
  const std::string databaseProblem = app::DatabaseProblem(login::DefaultDatabasePath());
  if (!databaseProblem.empty()) return stop(databaseProblem);

  // Both options give a login without a prompt; anything else asks, as the
  // window does.
  std::vector<std::string> credentials;
  if (args.Has("user") && password) credentials = {args.Value("user"), *password};
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
    json.Write(report);
    std::cerr << TerminalText(e.what()) << std::endl;
    return report.exitCode;
  }

  RowsProgress progress(ChooseProgressMode(args.Has("progress"), quiet, isatty(STDERR_FILENO) == 1),
                        std::cerr);
  StderrMessages messages(progress);
  ConsoleObserver observer(progress, lines);
  auto connection = db::MakeFirebirdConnection();
  std::unique_ptr<import::ImportRun> started;
  try {
    started = app::StartImportRun(*connection, messages, session);
  } catch (const std::exception& e) {
    return stop(e.what());
  }
  import::ImportRun& run = *started;

  const import::RunResult result = run.Run(
      options, [&workbook] { return std::optional<std::string>(workbook); }, &observer);
  progress.Wipe();

  // The reason has been shown as a message on standard error already.
  if (result.outcome != import::RunOutcome::kFinished &&
      result.outcome != import::RunOutcome::kInterrupted &&
      result.outcome != import::RunOutcome::kConnectionLost &&
      result.outcome != import::RunOutcome::kWorkbookLost &&
      result.outcome != import::RunOutcome::kDatabaseFailed) {
    report.reason = result.reason.empty() ? kNotStarted : result.reason;
    json.Write(report);
    return Fail(kNotStarted);
  }
  const import::ImportSummary& summary = result.summary;
  report.finished = result.outcome == import::RunOutcome::kFinished;
  report.summary = summary;
  report.errors = run.ErrorLines();
  report.storedContracts = result.storedContracts;
  // A contract row or an annex row that was not stored (also one left for
  // another import because another workstation was writing the same data);
  // warnings about data that was stored (a wrong check digit, a contract
  // stored before) do not count.
  const bool refused =
      summary.rowsRefused > 0 || summary.rowsBusy > 0 || summary.annexesDropped > 0;
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
  if (!quiet) PrintSummary(lines, summary);
  if (!json.Write(report)) return Fail(kCannotWriteJson + json.Path());
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
         {"allow-duplicates", "", "записва и договорите, които вече са записани"},
         {"check", "",
          "само проверка: всеки ред минава като при запис, накрая всичко се "
          "отменя"},
         {"strict-header", "",
          "отказва книга, чийто заглавен ред не съвпада с колоните на "
          "шаблона"},
         {"summary-json", "ФАЙЛ",
          "записва обобщението, грешките и записаните договори като JSON (в "
          "UTF-8); \"-\" е стандартният изход, и тогава списъкът с грешки и "
          "обобщението отиват на стандартната грешка"},
         {"log-dir", "ПАПКА",
          "папката на лог файла и на книгата с отказаните редове (по "
          "подразбиране от настройките, иначе текущата)"},
         {"progress", "",
          "показва напредъка на стандартната грешка и когато тя не е "
          "терминал (ред на няколко секунди)"},
         {"quiet", "", "без напредък и обобщение: само грешките"},
     }),
     .details = kExitCodesHelp,
     .run = &RunImport}};

}  // namespace

}  // namespace zrv::cli
