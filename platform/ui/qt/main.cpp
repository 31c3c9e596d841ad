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

#include "app/DatabaseConnection.h"
#include "app/Entry.h"
#include "app/Session.h"
#include "app/SystemString.h"
#include "app/TerminationSignals.h"
#include "platform/db/Firebird.h"
#include "platform/ui/qt/ImportController.h"
#include "platform/ui/qt/ImportWindow.h"
#include "platform/ui/qt/QtMessages.h"
#include "platform/ui/qt/SubsidiaryForms.h"

namespace {
const char* const kApplicationTitle =
    "Зорвит Имоти 2007 - импортиране на договори за наем";
}

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
  QApplication::setApplicationDisplayName(QString::fromUtf8(kApplicationTitle));

  // Qt has taken its own options out of argv; what is left are the program's
  // parameters.
  std::vector<std::string> parameters;
  for (const QString& a : QApplication::arguments().mid(1))
    parameters.push_back(a.toStdString());

  try {
    if (!zrv::LoginFromParameters(parameters))
      return 0;  // refused or cancelled: end silently
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QString::fromUtf8(kApplicationTitle),
                          QString::fromStdString(e.what()));
    return 1;
  }

  auto connection = zrv::db::MakeFirebirdConnection();
  zrv::ui::TForm1 form;
  zrv::ui::TfrmPersons persons;
  zrv::ui::TfrmNmSelect settlementPicker;
  zrv::ui::QtMessages messages(&form);
  const zrv::SessionValues session = zrv::Session();
  zrv::ui::ImportController controller(
      form, *connection, messages, zrv::CurrentUserID(),
      [session](zrv::db::Connection& db) {
        std::string error;
        if (zrv::app::ConnectDatabase(db, session.userName, session.password,
                                      session.serverName, error)) {
          zrv::app::SystemString::Register(&db);
        }
        return error;
      },
      [&form] { return zrv::ui::ChooseWorkbookFile(&form); },
      [] { QCoreApplication::exit(0); },
      [](int32_t key, int32_t defaultValue) {
        return zrv::app::SystemString::GetSystemInt(key, defaultValue);
      });
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
  return code;
}
