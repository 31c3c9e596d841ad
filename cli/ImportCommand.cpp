// zorvit import [--user U --password P] [--municipality NAME] [--first-row N]
// [--no-links]
//               [--check] WORKBOOK
//
// --check is a dry run: every row is checked and written as in a real run, and
// everything is rolled back at the end.
//
// Imports the contracts of a workbook into the property database the login
// names, the same run the import window makes: the error list goes to standard
// output line by line as it grows, message boxes become lines on standard
// error, and a summary closes the run. On a terminal a progress line on
// standard error shows the rows done and the pace.
//
// Exit code 0 when the run went through, also when rows were refused; 1 when it
// could not start (login refused, no database, unknown municipality, unreadable
// workbook); 2 for a command line it does not understand.

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "app/DatabaseConnection.h"
#include "app/DatabaseLocation.h"
#include "app/Entry.h"
#include "app/Session.h"
#include "app/SystemString.h"
#include "cli/Command.h"
#include "common/Error.h"
#include "common/Text.h"
#include "import/ImportRun.h"
#include "platform/db/Firebird.h"
#include "platform/ui/Messages.h"

namespace zrv::cli {

namespace {

constexpr const char* kUsage =
    "import [--user U --password P] [--municipality NAME] [--first-row N] "
    "[--no-links] [--check] WORKBOOK";
constexpr const char* kSummary =
    "imports the contracts of a workbook; the error list on stdout, a summary "
    "at the end";

constexpr const char* kNoWorkbook = "Липсва файл за четене.";
constexpr const char* kMissingWorkbook = "Файлът не съществува: ";
constexpr const char* kLoginRefused = "Входът е отказан.";
constexpr const char* kNoDatabase = "Няма база данни ";
constexpr const char* kCreateDatabase = " (създава се със zorvit db init).";
constexpr const char* kNotStarted = "Импортирането не започна.";

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

 private:
  Progress& progress_;
};

void PrintSummary(const import::ImportSummary& s) {
  std::cout << "\n--- Обобщение ---\n";
  if (s.checkOnly) std::cout << import::kNothingStored << "\n";
  std::cout << "Прочетени редове:            " << s.rowsRead << "\n"
            << "Записани договори:           " << s.contractsStored << "\n"
            << "Отказани редове:             " << s.rowsRefused << "\n"
            << "Записани анекси:             " << s.annexesStored << "\n"
            << "Отхвърлени анекси:           " << s.annexesDropped << "\n"
            << "Добавени в класификаторите:  "
            << (s.classifierEntriesAdded < 0
                    ? std::string("неизвестно")
                    : std::to_string(s.classifierEntriesAdded))
            << "\n"
            << "Лог файл:                    "
            << (s.logFile.empty() ? std::string("няма (без грешки)")
                                  : s.logFile)
            << "\n"
            << "Последен достигнат ред:      " << s.lastRow << "\n"
            << "Време:                       "
            << Format("%.2f", s.elapsedSeconds) << " s\n";
}

int Fail(const std::string& reason) {
  std::cerr << TerminalText(reason) << std::endl;
  return 1;
}

int RunImport(const Args& arguments) {
  Args args = arguments;
  std::string user, password, municipality = "Русе", firstRow = "2";
  const bool hasUser = TakeOption(args, "--user", user);
  const bool hasPassword = TakeOption(args, "--password", password);
  TakeOption(args, "--municipality", municipality);
  TakeOption(args, "--first-row", firstRow);
  const bool noLinks = TakeFlag(args, "--no-links");
  const bool checkOnly = TakeFlag(args, "--check");
  if (args.size() != 1 || args[0].rfind("--", 0) == 0) {
    std::cerr << (args.empty() ? kNoWorkbook
                               : "Неразпознат аргумент: " + args[0])
              << "\n"
              << "Usage: zorvit " << kUsage << "\n";
    return 2;
  }
  const std::string workbook = args[0];
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(workbook, ignored))
    return Fail(kMissingWorkbook + workbook);

  // The login library finds the database the same way; a missing embedded file
  // is named here rather than reported as a refused login. A "host:/path" name
  // is the server's to check.
  const std::string database = app::DefaultDatabasePath();
  if (database.find(':') == std::string::npos &&
      !std::filesystem::is_regular_file(database, ignored)) {
    return Fail(kNoDatabase + database + kCreateDatabase);
  }

  // Both options give a login without a prompt; anything else asks, as the
  // window does.
  std::vector<std::string> credentials;
  if (hasUser && hasPassword) credentials = {user, password};
  if (!LoginFromParameters(credentials)) return Fail(kLoginRefused);

  const SessionValues& session = Session();
  auto connection = db::MakeFirebirdConnection();
  std::string errorText;
  if (!app::ConnectDatabase(*connection, session.userName, session.password,
                            session.serverName, errorText)) {
    return Fail(errorText);
  }
  app::SystemString::Register(connection.get());

  Progress progress;
  StderrMessages messages(progress);
  ConsoleObserver observer(progress);
  import::ImportRun run(*connection, messages, session.currentUserID);
  run.Start([](int32_t key, int32_t defaultValue) {
    return app::SystemString::GetSystemInt(key, defaultValue);
  });

  import::ImportOptions options;
  options.municipality = municipality;
  options.firstRowText = firstRow;
  options.fileLinks = !noLinks;
  options.checkOnly = checkOnly;
  const import::RunResult result = run.Run(
      options, [&workbook] { return std::optional<std::string>(workbook); },
      &observer);
  progress.Wipe();
  app::SystemString::Register(nullptr);

  // The reason has been shown as a message on standard error already.
  if (result.outcome != import::RunOutcome::kFinished) return Fail(kNotStarted);
  PrintSummary(result.summary);
  return 0;
}

const CommandRegistration kImport{{"import"}, kUsage, kSummary, &RunImport};

}  // namespace

}  // namespace zrv::cli
