// Takes a picture of the import window after a run, for a look at what a clerk
// sees.
//
//   window_screenshot WORKBOOK OUTPUT.png
//
// Creates a fresh embedded database in a temporary folder, shows the window on
// Qt's offscreen platform, runs the import of WORKBOOK through it as a click on
// "Чети" would, and saves the window's own rendering. Message boxes of the run
// are printed on standard error.

#include <QApplication>
#include <QPixmap>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "app/DatabaseSetup.h"
#include "app/RunStartup.h"
#include "gui/ImportController.h"
#include "gui/ImportWindow.h"
#include "gui/QtBulgarian.h"
#include "platform/db/Firebird.h"

namespace {

class PrintedMessages : public zrv::ui::Messages {
 public:
  void ShowMessage(const std::string& text) override { std::cerr << "[message] " << text << "\n"; }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: window_screenshot WORKBOOK OUTPUT.png\n";
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  zrv::ui::InstallQtBulgarian(app);
  const std::string output = std::filesystem::absolute(argv[2]).string();

  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("zrv-shot-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const std::string database = (folder / "shot.fdb").string();
  // The run reads a copy, so its log goes beside the copy, not into the source
  // tree.
  const fs::path workbook = folder / fs::path(argv[1]).filename();
  int rc = 0;
  try {
    fs::copy_file(argv[1], workbook);
    zrv::app::CreatePropertyDatabase({"SYSDBA", "masterkey", database}, false);
    auto connection = zrv::db::MakeFirebirdConnection();
    PrintedMessages messages;
    zrv::ui::TForm1 form;
    const zrv::SessionValues session{database, "SYSDBA", "masterkey", 1};
    zrv::ui::ImportController controller(
        form, *connection, messages,
        [&](zrv::db::Connection& db, zrv::ui::Messages& boxes) {
          return zrv::app::StartImportRun(db, boxes, session);
        },
        [&]() -> std::optional<std::string> { return workbook.string(); },
        [] { QCoreApplication::exit(1); });
    form.resize(900, 720);
    form.show();
    QApplication::processEvents();
    form.Button2->click();
    QApplication::processEvents();
    if (!form.grab().save(QString::fromStdString(output))) {
      std::cerr << "cannot write " << output << "\n";
      rc = 1;
    } else {
      std::cout << output << ": " << form.erLB->count() << " lines in the list, "
                << controller.LastResult().summary.contractsStored << " contracts stored\n";
    }
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    rc = 1;
  }
  fs::remove_all(folder);
  return rc;
}
