// zorvit-import: the import window a clerk starts. Logs in through the login
// library (two parameters: user name and password without a dialog), then shows
// the import window.

#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "Version.h"
#include "app/Entry.h"
#include "app/RunStartup.h"
#include "app/Session.h"
#include "app/TerminationSignals.h"
#include "gui/AppIcon.h"
#include "gui/ImportController.h"
#include "gui/ImportWindow.h"
#include "gui/QtBulgarian.h"
#include "gui/QtMessages.h"
#include "gui/SubsidiaryForms.h"
#include "platform/db/Firebird.h"

namespace {
// Qt adds the display name to every window's title: a short one keeps the
// title short; message boxes carry the full title.
const char* const kDisplayName = "Зорвит Имоти";
const char* const kDesktopFile = "zorvit-import";

// The program's end: an attach given up inside the engine would hold its exit
// handlers without end.
int Leave(int code) {
  if (zrv::db::EngineAbandoned()) {
    std::fflush(nullptr);
    _exit(code);
  }
  return Leave(code);
}
}  // namespace

int main(int argc, char** argv) {
  // Before the login attaches to the database: a SIGTERM (logout, shutdown) or
  // SIGINT ends the program (after the run in progress, if any) instead of
  // being taken by the database client.
  zrv::app::CatchTerminationSignals();
  QApplication app(argc, argv);
  QTimer terminationCheck;
  QObject::connect(&terminationCheck, &QTimer::timeout, [] {
    if (zrv::app::TerminationRequested())
      QCoreApplication::exit(zrv::app::TerminationExitCode());
  });
  terminationCheck.start(250);
  QApplication::setApplicationDisplayName(QString::fromUtf8(kDisplayName));
  QApplication::setApplicationVersion(QString::fromUtf8(ZRV_VERSION));
  QApplication::setDesktopFileName(QString::fromUtf8(kDesktopFile));
  QApplication::setWindowIcon(zrv::ui::AppIcon());
  zrv::ui::InstallQtBulgarian(app);

  // Qt has taken its own options out of argv; what is left are the program's
  // parameters.
  std::vector<std::string> parameters;
  for (const QString& a : QApplication::arguments().mid(1))
    parameters.push_back(a.toStdString());

  try {
    if (!zrv::LoginFromParameters(parameters))
      return 0;  // refused or cancelled: end silently
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr,
                          QString::fromUtf8(zrv::ui::kApplicationTitle),
                          QString::fromStdString(e.what()));
    return 1;
  }

  auto connection = zrv::db::MakeFirebirdConnection();
  zrv::ui::TForm1 form;
  zrv::ui::TfrmPersons persons;
  zrv::ui::TfrmNmSelect settlementPicker;
  zrv::ui::QtMessages messages(&form);
  zrv::ui::ImportController controller(
      form, *connection, messages,
      [](zrv::db::Connection& db, zrv::ui::Messages& boxes) {
        return zrv::app::StartImportRun(db, boxes, zrv::Session());
      },
      [&form] { return zrv::ui::ChooseWorkbookFile(&form); },
      [] { QCoreApplication::exit(0); });
  // A run in progress stops at its next row; the timer above then ends the
  // program.
  controller.SetStopCheck([] { return zrv::app::TerminationRequested(); });
  form.show();
  const int code = app.exec();
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
