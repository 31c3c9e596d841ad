// The window's run history on Qt's offscreen platform: a recorded run listed
// and undone through the dialog.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "gui/HistoryDialog.h"
#include "import/ImportRun.h"
#include "tests/support/RecordingMessages.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Workbooks.h"

namespace zrv::ui {
namespace {

using test::Cell;
using test::Lettered;

std::string CellText(const HistoryDialog& dialog, int row, int column) {
  return dialog.runs->item(row, column)->text().toStdString();
}

// The confirmation is answered yes; after the undo a run of the same import
// object (the window keeps one) stores the workbook again with the rent type
// it adds anew, not with the one the undo removed.
TEST(HistoryDialog, ListsARecordedRunAndUndoesItAfterTheConfirmation) {
  test::TestDatabase database;
  test::RecordingMessages messages;
  import::ImportRun run(import::RunContext{database.Connection(), 1, "ivan"}, messages);
  run.Start();
  const std::string folder = test::MakeTempFolder();
  const std::string workbook =
      test::MakeWorkbook(folder, "history.xls",
                         {Lettered({{"A", "Номер"}}), Lettered({{"A", "501"},
                                                                {"B", Cell::Date(2007, 3, 1)},
                                                                {"C", "Наем гараж"},
                                                                {"D", "Иван Петров"},
                                                                {"E", "7501010010"},
                                                                {"T", "Русе"},
                                                                {"Y", "ул. Плиска 1"},
                                                                {"AC", 12},
                                                                {"AD", 150.0},
                                                                {"AE", Cell::Date(2007, 3, 15)}})});
  import::ImportOptions options;
  options.logFolder = folder;
  const import::WorkbookChooser choose = [&] { return std::optional<std::string>(workbook); };
  ASSERT_EQ(run.Run(options, choose).summary.contractsStored, 1) << messages.shown.size();

  HistoryDialog dialog(database.Connection(), {1, "ivan", "ws-7"});
  std::vector<std::string> confirmed, told;
  dialog.SetConfirm([&](const std::string&, const std::vector<std::string>& lines) {
    confirmed = lines;
    return true;
  });
  dialog.SetTell([&](const std::string& message, const std::vector<std::string>&) {
    told.push_back(message);
  });
  ASSERT_EQ(dialog.runs->rowCount(), 1);
  EXPECT_EQ(CellText(dialog, 0, 2), "ivan");
  EXPECT_EQ(CellText(dialog, 0, 4), "history.xls");
  EXPECT_EQ(CellText(dialog, 0, 6), "завършено");
  EXPECT_EQ(CellText(dialog, 0, 7), "1");
  EXPECT_FALSE(dialog.undoButton->isEnabled());  // nothing selected

  dialog.runs->selectRow(0);
  ASSERT_TRUE(dialog.undoButton->isEnabled());
  dialog.undoButton->click();
  ASSERT_FALSE(confirmed.empty());
  EXPECT_EQ(confirmed[0].rfind("Договор 501", 0), 0u) << confirmed[0];
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0], "Импортиране 1 е отменено.");
  EXPECT_EQ(database.ScalarInt("SELECT COUNT(*) FROM documents"), 0);
  EXPECT_EQ(database.ScalarInt("SELECT COUNT(*) FROM renttypes"), 0);
  // The list read again: the run undone by ivan, the button off for it.
  EXPECT_NE(CellText(dialog, 0, 8).find("ivan"), std::string::npos);
  EXPECT_FALSE(dialog.undoButton->isEnabled());

  ASSERT_EQ(run.Run(options, choose).summary.contractsStored, 1);
  EXPECT_EQ(database.ScalarInt("SELECT COUNT(*) FROM documents d WHERE NOT EXISTS (SELECT 1 "
                               "FROM renttypes r WHERE r.rt_id = d.da_rf1)"),
            0);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zrv::ui
