// zorvit-import: the import window a clerk starts. Reads the settings (files,
// environment, --database), logs in through the login library (two
// parameters: user name and password without a dialog), then shows the import
// window with the settings' municipality and first row and, at its foot, the
// database and the user; a workbook given (alone, or after the user name and
// the password) is the one the first click on "Чети" reads.

#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "Version.h"
#include "app/RunStartup.h"
#include "app/Session.h"
#include "app/Settings.h"
#include "app/TerminationSignals.h"
#include "gui/AppIcon.h"
#include "gui/CommandLine.h"
#include "gui/HistoryDialog.h"
#include "gui/ImportController.h"
#include "gui/ImportWindow.h"
#include "gui/QtBulgarian.h"
#include "gui/QtMessages.h"
#include "gui/SubsidiaryForms.h"
#include "gui/WindowLogin.h"
#include "platform/db/Firebird.h"
#include "platform/system/HostName.h"

namespace {
// Qt adds the display name to every window's title: a short one keeps the
// title short; message boxes carry the full title.
const char* const kDisplayName = "Зорвит Имоти";
const char* const kDesktopFile = "zorvit-import";
const char* const kEndedDuringRun =
    "zorvit-import: програмата приключи по време на импортиране; редът в "
    "ход не е записан.\n";
constexpr int kExitFailed = 1;

// The window's controller while the window lives.
const zrv::ui::ImportController* g_controller = nullptr;

// Ends the process without the engine's exit handlers when it exits while a
// run works: Qt exits this way when the display goes away, from inside the
// run's event processing, and the engine's shutdown would then wait on (or
// spin over) the run's open transaction while holding the file. The engine
// rolls the row back as for a process that died. Registered after the first
// attach, so it runs before the handlers the engine registered then.
extern "C" void LeaveDuringRun() {
  if (!g_controller || !g_controller->Running()) return;
  std::fputs(kEndedDuringRun, stderr);
  std::fflush(nullptr);
  _exit(kExitFailed);
}

// The program's end: an attach given up inside the engine would hold its exit
// handlers without end.
int Leave(int code) {
  if (zrv::db::EngineAbandoned()) {
    std::fflush(nullptr);
    _exit(code);
  }
  return code;
}

void ShowStartError(const std::string& text) {
  QMessageBox::critical(nullptr, QString::fromUtf8(zrv::ui::kApplicationTitle),
                        QString::fromStdString(text));
}
}  // namespace

int main(int argc, char** argv) {
  // The help text and the version need no display (the manual page is made
  // from them at build time).
  const zrv::ui::WindowStart early = zrv::ui::ReadWindowStart({argv + 1, argv + argc});
  if (early.action == zrv::ui::WindowStart::Action::kHelp) {
    std::fputs(zrv::ui::kWindowHelp, stdout);
    return 0;
  }
  if (early.action == zrv::ui::WindowStart::Action::kVersion) {
    std::printf("zorvit-import %s\n", ZRV_VERSION);
    return 0;
  }
  // Before the login attaches to the database: a SIGTERM (logout, shutdown) or
  // SIGINT ends the program (after the run in progress, if any) instead of
  // being taken by the database client.
  zrv::app::CatchTerminationSignals();
  QApplication app(argc, argv);
  // The toolkit takes the environment's locale for everything; numbers in
  // statement parameters, logs and reports are written with "." whatever the
  // clerk's locale, so the numeric category goes back to "C".
  std::setlocale(LC_NUMERIC, "C");
  QTimer terminationCheck;
  QObject::connect(&terminationCheck, &QTimer::timeout, [] {
    if (zrv::app::TerminationRequested()) QCoreApplication::exit(zrv::app::TerminationExitCode());
  });
  terminationCheck.start(250);
  QApplication::setApplicationDisplayName(QString::fromUtf8(kDisplayName));
  QApplication::setApplicationVersion(QString::fromUtf8(ZRV_VERSION));
  QApplication::setDesktopFileName(QString::fromUtf8(kDesktopFile));
  QApplication::setWindowIcon(zrv::ui::AppIcon());
  zrv::ui::InstallQtBulgarian(app);
  // The engine's set-up problem (database files not shared) is told in a box.
  zrv::db::SetEngineModeReport([](const std::string& message) {
    QMessageBox::warning(nullptr, QString::fromUtf8(zrv::ui::kApplicationTitle),
                         QString::fromStdString(message));
  });

  // Qt has taken its own options out of argv; what is left are the program's
  // parameters.
  std::vector<std::string> parameters;
  for (const QString& a : QApplication::arguments().mid(1)) parameters.push_back(a.toStdString());

  const zrv::ui::WindowStart start = zrv::ui::ReadWindowStart(parameters);
  // A command line or a setting it cannot use ends the window as a bad option
  // ends `zorvit` (exit code 2).
  if (start.action == zrv::ui::WindowStart::Action::kBadOption) {
    ShowStartError(start.problem);
    return 2;
  }
  zrv::app::SettingValues settings;
  try {
    settings = zrv::app::ReadSettings(zrv::app::DefaultSettingSources());
  } catch (const zrv::app::SettingsError& e) {
    ShowStartError(e.what());
    return 2;
  }
  if (start.database) settings["database"] = *start.database;
  // The login library and the connection find the database and the wait
  // limit chosen here.
  zrv::app::UseConnectionSettings(settings);
  zrv::SessionValues session;
  if (const std::optional<int> code =
          zrv::ui::WindowLogin(start.loginParameters, ShowStartError, session))
    return Leave(*code);
  std::atexit(LeaveDuringRun);

  auto connection = zrv::db::MakeFirebirdConnection();
  zrv::ui::TForm1 form;
  zrv::ui::TfrmPersons persons;
  zrv::ui::TfrmNmSelect settlementPicker;
  zrv::ui::QtMessages messages(&form);
  zrv::ui::ImportController controller(
      form, *connection, messages,
      [&session](zrv::db::Connection& db, zrv::ui::Messages& boxes) {
        return zrv::app::StartImportRun(db, boxes, session);
      },
      [&form] { return zrv::ui::ChooseWorkbookFile(&form); },
      [] { QCoreApplication::exit(kExitFailed); });
  g_controller = &controller;
  // "История": an undo from it is recorded with the user logged in and this
  // workstation, as `zorvit undo` records its user.
  form.onHistory = [&] {
    zrv::ui::HistoryDialog history(
        *connection, {session.currentUserID, session.userName, zrv::system::HostName()}, &form);
    history.exec();
  };
  // A run in progress stops at its next row; the timer above then ends the
  // program.
  controller.SetStopCheck([] { return zrv::app::TerminationRequested(); });
  if (start.workbook) controller.SetGivenWorkbook(*start.workbook);
  if (settings.count("municipality"))
    form.Edit2->setText(QString::fromStdString(settings["municipality"]));
  if (settings.count("first-row"))
    form.Edit1->setText(QString::fromStdString(settings["first-row"]));
  if (settings.count("log-dir")) controller.SetLogFolder(settings["log-dir"]);
  form.ShowSession(session.serverName, session.userName);
  form.show();
  const int code = app.exec();
  g_controller = nullptr;
  if (zrv::app::TerminationRequested()) {
    // Asked to end by a signal: the run has stopped at a row boundary and its
    // log is written, so no transaction is open. The engine's detach can hang
    // in the window process (seen after imports on the file were stopped), and
    // a process that must end may not wait for it; the engine treats the
    // attachment like that of a process that died.
    std::fflush(nullptr);
    _exit(code);
  }
  return Leave(code);
}
