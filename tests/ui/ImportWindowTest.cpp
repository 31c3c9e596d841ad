// The import window on Qt's offscreen platform: its face, its start-up and runs
// through it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>

#include "common/Dates.h"
#include "common/Error.h"
#include "common/Text.h"
#include "gui/CommandLine.h"
#include "gui/ImportController.h"
#include "gui/ImportWindow.h"
#include "gui/QtBulgarian.h"
#include "gui/QtMessages.h"
#include "gui/SubsidiaryForms.h"
#include "gui/WindowLogin.h"
#include "platform/db/Firebird.h"
#include "platform/workbook/Workbook.h"
#include "tests/support/RecordingMessages.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Workbooks.h"

namespace zrv::ui {
namespace {

namespace fs = std::filesystem;
using test::Cell;
using test::Lettered;

// The database of the test is open already; the start-up checks that, as the
// real one opens it with the login's values, and starts the run on it.
std::unique_ptr<import::ImportRun> StartOnOpenDatabase(db::Connection& db, Messages& messages) {
  if (!db.Connected()) throw Error("not connected");
  auto run = std::make_unique<import::ImportRun>(import::RunContext{db, 1}, messages);
  run->Start();
  return run;
}

struct Harness {
  test::TestDatabase database;
  test::RecordingMessages messages;
  TForm1 form;
  std::optional<std::string> nextFile;
  int terminated = 0;
  ImportController controller{form,
                              database.Connection(),
                              messages,
                              StartOnOpenDatabase,
                              [this] { return nextFile; },
                              [this] { ++terminated; }};
};

std::vector<std::string> ListLines(const TForm1& form) {
  std::vector<std::string> lines;
  for (int i = 0; i < form.erLB->count(); ++i)
    lines.push_back(form.erLB->item(i)->text().toStdString());
  return lines;
}

// A contract row in the column layout of the workbook, complete unless a test
// blanks a cell.
test::Row ContractRow(const std::string& number, const std::string& tenantNumber) {
  return Lettered({{"A", number},
                   {"B", Cell::Date(2007, 3, 1)},
                   {"C", "Наем жилище"},
                   {"D", "Иван Петров"},
                   {"E", tenantNumber},
                   {"T", "Русе"},
                   {"Y", "ул. Плиска 1"},
                   {"AC", 12},
                   {"AD", 150.0},
                   {"AE", Cell::Date(2007, 3, 15)}});
}

TEST(ImportWindow, ShowsItsCaptionsDefaultsAndComponents) {
  TForm1 form;
  EXPECT_EQ(form.windowTitle().toStdString(), "Импортиране на договори за наем в \"Зорвит Наеми\"");
  EXPECT_EQ(form.Edit2->text().toStdString(), "Русе");
  EXPECT_EQ(form.Edit1->text().toStdString(), "2");
  EXPECT_EQ(form.Button2->text().toStdString(), "Чети");
  EXPECT_EQ(form.ftpCheck->text().toStdString(), "Генерирай връзки към FTP");
  EXPECT_TRUE(form.ftpCheck->isChecked());
  EXPECT_EQ(form.duplicatesCheck->text().toStdString(), "Записвай и вече записаните договори");
  EXPECT_FALSE(form.duplicatesCheck->isChecked());
  EXPECT_EQ(form.checkOnlyCheck->text().toStdString(), "Само проверка, без запис");
  EXPECT_FALSE(form.checkOnlyCheck->isChecked());
  EXPECT_EQ(form.erLB->count(), 0);
  form.show();
  EXPECT_FALSE(form.rtCombo_->isVisible());
  EXPECT_FALSE(form.rtLabel->isVisible());
  EXPECT_EQ(form.rtLabel->text().toStdString(), "Вид наем");
  EXPECT_TRUE(form.erLB->isVisible());
  // The database and the user, at the foot once the login has named them.
  EXPECT_FALSE(form.sessionLine->isVisible());
  form.ShowSession("srv:/data/zorvit.fdb", "ivan");
  EXPECT_TRUE(form.sessionLine->isVisible());
  EXPECT_EQ(form.sessionLine->text().toStdString(),
            "База данни: srv:/data/zorvit.fdb    Потребител: ivan");

  // The list takes the room a larger window gives.
  const int before = form.erLB->height();
  form.resize(form.width() + 200, form.height() + 300);
  QApplication::processEvents();
  EXPECT_GT(form.erLB->height(), before);
}

TEST(ImportWindow, QtsOwnButtonsSpeakBulgarian) {
  ASSERT_TRUE(InstallQtBulgarian(*QCoreApplication::instance()));
  QDialogButtonBox buttons(QDialogButtonBox::Cancel);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().toStdString(), "Отказ");
}

TEST(ImportWindow, SubsidiaryFormsCarryTheirCaptionsAndStayHidden) {
  TfrmPersons persons;
  TfrmNmSelect picker;
  EXPECT_EQ(persons.windowTitle().toStdString(), "Регистър на фирми и граждани");
  EXPECT_EQ(picker.windowTitle().toStdString(), "Избор на населено място");
  EXPECT_FALSE(persons.isVisible());
  EXPECT_FALSE(picker.isVisible());
}

TEST(ImportWindow, FailingConnectionAtFirstShowingShowsTheTextAndQuits) {
  test::TestDatabase database;
  test::RecordingMessages messages;
  TForm1 form;
  int terminated = 0;
  ImportController controller(
      form, database.Connection(), messages,
      [](db::Connection&, Messages&) -> std::unique_ptr<import::ImportRun> {
        throw Error("Грешка при свързване към БД (x)\rno such file");
      },
      [] { return std::optional<std::string>(); }, [&] { ++terminated; });
  form.show();
  QApplication::processEvents();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], "Грешка при свързване към БД (x)\rno such file");
  EXPECT_EQ(terminated, 1);
}

TEST(ImportWindow, FailedLoginShowsTheReasonAndTheNextStepAndExitsOne) {
  test::TestDatabase database;
  struct Case {
    std::string database;
    std::string user;
    std::vector<std::string> shown;
  } cases[] = {
      {database.Path() + ".missing", "demo", {"Няма база данни", "zorvit db init"}},
      {database.Path(),
       "nobody",
       {"Входът е отказан.", "Непознат потребител.", "Проверете потребителя"}},
  };
  for (const Case& c : cases) {
    setenv("ZRV_DATABASE", c.database.c_str(), 1);
    std::vector<std::string> boxes;
    SessionValues session;
    const std::optional<int> code = WindowLogin(
        {c.user, "x"}, [&](const std::string& text) { boxes.push_back(text); }, session);
    EXPECT_EQ(code, std::optional<int>(1)) << c.user;
    ASSERT_EQ(boxes.size(), 1u) << c.user;
    for (const std::string& part : c.shown)
      EXPECT_NE(boxes[0].find(part), std::string::npos) << boxes[0];
  }
  unsetenv("ZRV_DATABASE");
}

TEST(ImportWindow, EmptyMunicipalityAsksForItAndStartsNothing) {
  Harness h;
  h.form.show();
  QApplication::processEvents();
  ASSERT_EQ(h.terminated, 0);
  h.form.Edit2->setText("");
  h.form.Button2->click();
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.messages.shown[0], "Моля, въведете името на общината");
  EXPECT_TRUE(h.form.Button2->isEnabled());
}

TEST(ImportWindow, RunFillsTheListWritesTheLogAndACancelledDialogKeepsIt) {
  Harness h;
  const std::string folder = test::MakeTempFolder();
  const std::string workbook =
      test::MakeWorkbook(folder, "window.xls",
                         {Lettered({{"A", "Номер"}}), ContractRow("101", "7501010010"),
                          Lettered({{"A", "102"},
                                    {"B", Cell::Date(2007, 3, 1)},
                                    {"C", "Наем жилище"},
                                    {"D", "Мария Иванова"},
                                    {"E", "8001010013"},
                                    {"T", "Русе"},
                                    {"AC", 12},
                                    {"AE", Cell::Date(2007, 3, 15)}}),  // no monthly rent: refused
                          ContractRow("103", "7501010010")});
  h.form.show();
  QApplication::processEvents();

  h.nextFile = workbook;
  h.form.Button2->click();
  const auto lines = ListLines(h.form);
  ASSERT_EQ(lines.size(), 1u) << h.messages.shown.size();
  EXPECT_EQ(lines[0],
            "FATAL : Липсва месечна цена(или въведената стойност е невалидна) "
            "на ред номер : 3");
  EXPECT_EQ(h.controller.LastResult().summary.contractsStored, 2);
  EXPECT_EQ(h.database.ScalarInt("SELECT COUNT(*) FROM documents"), 2);
  EXPECT_EQ(h.form.progress->value(), h.form.progress->maximum());
  const std::string log = h.controller.LastResult().summary.logFile;
  ASSERT_FALSE(log.empty());
  EXPECT_TRUE(fs::exists(fs::path(folder) / fs::path(log).filename()));

  // Cancelling the file dialog of the next click leaves the list as it was.
  h.nextFile.reset();
  h.form.Button2->click();
  EXPECT_EQ(ListLines(h.form), lines);

  // The settings' log folder (log-dir) takes the log instead.
  const std::string logs = folder + "/logs";
  fs::create_directory(logs);
  h.controller.SetLogFolder(logs);
  h.nextFile = workbook;
  h.form.Button2->click();
  const std::string moved = h.controller.LastResult().summary.logFile;
  EXPECT_TRUE(fs::exists(fs::path(logs) / fs::path(moved).filename())) << moved;

  fs::remove_all(folder);
}

TEST(ImportWindow, ShowsTheSummaryAndTheCellsOfTheRowALineNames) {
  Harness h;
  const std::string folder = test::MakeTempFolder();
  const std::string workbook =
      test::MakeWorkbook(folder, "summary.xls",
                         {Lettered({{"A", "Номер"}}), ContractRow("201", "7501010010"),
                          Lettered({{"A", "202"},
                                    {"C", "Наем жилище"},
                                    {"D", "Мария Иванова"},
                                    {"E", "8001010010"}})});  // no date drawn up: refused
  h.form.show();
  QApplication::processEvents();
  EXPECT_FALSE(h.form.summaryBox->isVisible());
  EXPECT_FALSE(h.form.openLogFolder->isEnabled());
  h.nextFile = workbook;
  h.form.Button2->click();

  // Label and value side by side, in the words `zorvit import` prints.
  std::map<std::string, std::string> shown;
  const auto labels = h.form.summaryBox->findChildren<QLabel*>();
  for (int i = 0; i + 1 < labels.size(); i += 2)
    shown[labels[i]->text().toStdString()] = labels[i + 1]->text().toStdString();
  EXPECT_TRUE(h.form.summaryBox->isVisible());
  EXPECT_EQ(shown["Прочетени редове:"], "2");
  EXPECT_EQ(shown["Записани договори:"], "1");
  EXPECT_EQ(shown["Отказани редове:"], "1");
  const fs::path log(shown["Лог файл:"]);
  EXPECT_TRUE(log.is_absolute()) << log;
  EXPECT_EQ(log.parent_path(), fs::path(folder));
  EXPECT_TRUE(h.form.openLogFolder->isEnabled());

  // A double click on the refused row's line shows that row's cells.
  ASSERT_GT(h.form.erLB->count(), 0);
  emit h.form.erLB->itemDoubleClicked(h.form.erLB->item(0));
  RowCellsView* view = h.controller.RowView();
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->isVisible());
  EXPECT_EQ(view->windowTitle().toStdString(), "Ред 3 от работната книга");
  QTableWidget* table = view->table;
  EXPECT_EQ(table->editTriggers(), QAbstractItemView::NoEditTriggers);
  std::map<std::string, std::string> cells;
  for (int r = 0; r < table->rowCount(); ++r)
    cells[table->item(r, 0)->text().toStdString()] = table->item(r, 2)->text().toStdString();
  EXPECT_EQ(table->rowCount(), 36);  // A to AJ
  EXPECT_EQ(table->item(3, 1)->text().toStdString(), "име на наемателя");
  EXPECT_EQ(cells["A"], "202");
  EXPECT_EQ(cells["D"], "Мария Иванова");
  EXPECT_EQ(cells["B"], "");

  fs::remove_all(folder);
}

TEST(ImportWindow, CheckBoxesReachTheRunAndRefusedRowsOpenFromTheSummary) {
  Harness h;
  std::vector<QUrl> opened;
  h.controller.SetUrlOpener([&](const QUrl& url) {
    opened.push_back(url);
    return true;
  });
  struct Case {
    bool duplicates, checkOnly;
  };
  for (const Case c :
       {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}}) {
    h.form.duplicatesCheck->setChecked(c.duplicates);
    h.form.checkOnlyCheck->setChecked(c.checkOnly);
    const import::ImportOptions options = h.controller.FormOptions();
    EXPECT_EQ(options.allowDuplicates, c.duplicates) << c.checkOnly;
    EXPECT_EQ(options.checkOnly, c.checkOnly) << c.duplicates;
  }
  h.form.checkOnlyCheck->setChecked(false);

  const std::string folder = test::MakeTempFolder();
  const test::Row header = Lettered({{"A", "Номер"}});
  const std::string withRefused = test::MakeWorkbook(
      folder, "refused.xls",
      {header, ContractRow("301", "7501010010"), Lettered({{"A", "302"}, {"D", "Мария Иванова"}})});
  const std::string storedAgain =
      test::MakeWorkbook(folder, "again.xls", {header, ContractRow("301", "7501010010")});
  h.form.show();
  QApplication::processEvents();
  EXPECT_FALSE(h.form.openRefusedRows->isVisible());

  // A refused row: the button shows and opens the workbook of refused rows.
  h.form.duplicatesCheck->setChecked(false);
  h.nextFile = withRefused;
  h.form.Button2->click();
  const std::string refused = h.controller.LastResult().summary.refusedRowsFile;
  ASSERT_FALSE(refused.empty());
  EXPECT_TRUE(h.form.openRefusedRows->isVisible());
  h.form.openRefusedRows->click();
  // A cancelled file dialog leaves the summary, and the button opens the same.
  h.nextFile.reset();
  h.form.Button2->click();
  h.form.openRefusedRows->click();
  ASSERT_EQ(opened.size(), 2u);
  for (const QUrl& url : opened)
    EXPECT_TRUE(fs::equivalent(url.toLocalFile().toStdString(), refused));

  // The same contract again with the duplicates box on: stored a second time,
  // nothing refused, so the button goes.
  h.form.duplicatesCheck->setChecked(true);
  h.nextFile = storedAgain;
  h.form.Button2->click();
  EXPECT_EQ(h.controller.LastResult().summary.contractsStored, 1);
  EXPECT_EQ(h.database.ScalarInt("SELECT COUNT(*) FROM documents"), 2);
  EXPECT_FALSE(h.form.openRefusedRows->isVisible());

  fs::remove_all(folder);
}

// "Open with" on the desktop: the workbook given on the command line is read
// by the first run that gets as far as asking for a file, without the dialog;
// the runs after it ask again.
TEST(ImportWindow, AWorkbookGivenOnTheCommandLineIsReadWithoutTheDialog) {
  Harness h;
  const std::string folder = test::MakeTempFolder();
  const std::string workbook = test::MakeWorkbook(
      folder, "given.xls", {Lettered({{"A", "Номер"}}), ContractRow("401", "7501010010")});
  const std::string missing = folder + "/missing.xls";

  struct Case {
    std::vector<std::string> parameters;
    std::vector<std::string> login;
    std::optional<std::string> workbook;
    std::optional<std::string> database = std::nullopt;
  };
  const std::vector<Case> cases = {
      {{workbook}, {}, workbook},
      {{"demo", "x"}, {"demo", "x"}, std::nullopt},
      {{"demo", "x", workbook}, {"demo", "x"}, workbook},
      {{"demo", "x", missing}, {"demo", "x", missing}, std::nullopt},
      {{missing}, {missing}, std::nullopt},
      {{"--database", "srv:/d.fdb", workbook}, {}, workbook, "srv:/d.fdb"},
      {{"demo", "--database=/d.fdb", "x"}, {"demo", "x"}, std::nullopt, "/d.fdb"},
  };
  for (const Case& c : cases) {
    const WindowStart start = ReadWindowStart(c.parameters);
    EXPECT_EQ(start.action, WindowStart::Action::kRun) << c.parameters.size();
    EXPECT_EQ(start.loginParameters, c.login) << c.parameters.back();
    EXPECT_EQ(start.workbook, c.workbook) << c.parameters.back();
    EXPECT_EQ(start.database, c.database) << c.parameters.back();
  }
  EXPECT_EQ(ReadWindowStart({"--help"}).action, WindowStart::Action::kHelp);
  EXPECT_EQ(ReadWindowStart({"demo", "x", "--database"}).action, WindowStart::Action::kBadOption);

  h.form.show();
  QApplication::processEvents();
  h.controller.SetGivenWorkbook(workbook);
  EXPECT_TRUE(h.form.givenWorkbook->isVisible());
  // A run that stops before it asks for a file leaves the workbook waiting.
  h.form.Edit2->setText("");
  h.form.Button2->click();
  h.form.Edit2->setText("Русе");
  h.nextFile.reset();  // the dialog would cancel
  h.form.Button2->click();
  EXPECT_EQ(h.controller.LastResult().summary.contractsStored, 1);
  EXPECT_FALSE(h.form.givenWorkbook->isVisible());
  h.form.Button2->click();
  EXPECT_EQ(h.controller.LastResult().outcome, import::RunOutcome::kCancelled);

  fs::remove_all(folder);
}

// "Спри" stops at the next row boundary as Ctrl-C does: the rows done stay,
// the list names the row, the summary shows; the next run is not stopped.
TEST(ImportWindow, StopEndsTheRunAtTheNextRowAndShowsItsSummary) {
  Harness h;
  const std::string folder = test::MakeTempFolder();
  const std::string workbook =
      test::MakeWorkbook(folder, "stop.xls",
                         {Lettered({{"A", "Номер"}}), ContractRow("501", "7501010010"),
                          Lettered({{"A", "502"}, {"D", "Мария Иванова"}}),  // refused: a line
                          ContractRow("503", "7501010010")});
  h.form.show();
  QApplication::processEvents();
  EXPECT_FALSE(h.form.stopButton->isEnabled());
  EXPECT_EQ(h.form.stopButton->text().toStdString(), "Спри");
  // The first line of the list (row 3's) is when the clerk clicks.
  std::optional<bool> enabledDuringRun;
  const auto click = QObject::connect(h.form.erLB->model(), &QAbstractItemModel::rowsInserted, [&] {
    if (enabledDuringRun) return;
    enabledDuringRun = h.form.stopButton->isEnabled();
    h.form.stopButton->click();
  });
  h.nextFile = workbook;
  h.form.Button2->click();
  QObject::disconnect(click);

  EXPECT_EQ(enabledDuringRun, true);
  EXPECT_FALSE(h.form.stopButton->isEnabled());
  EXPECT_EQ(h.controller.LastResult().outcome, import::RunOutcome::kInterrupted);
  const auto lines = ListLines(h.form);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Импортирането е прекъснато на ред 4.");
  EXPECT_EQ(h.database.ScalarInt("SELECT COUNT(*) FROM documents"), 1);
  EXPECT_TRUE(h.form.summaryBox->isVisible());
  EXPECT_FALSE(h.controller.LastResult().summary.logFile.empty());

  h.form.Button2->click();  // the dialog gives the same workbook again
  EXPECT_EQ(h.controller.LastResult().outcome, import::RunOutcome::kFinished);
  fs::remove_all(folder);
}

// Closing the window during a run asks: "Спри и затвори" stops at the next
// row and closes after the run; "Продължи", the default, changes nothing.
TEST(ImportWindow, ClosingDuringARunAsksWhetherToStopAndClose) {
  const std::string folder = test::MakeTempFolder();
  const std::string workbook =
      test::MakeWorkbook(folder, "close.xls",
                         {Lettered({{"A", "Номер"}}), ContractRow("601", "7501010010"),
                          ContractRow("602", "7501010010")});
  struct Case {
    const char* answer;
    import::RunOutcome outcome;
    int stored;
    bool open;
  } cases[] = {
      {"Спри и затвори", import::RunOutcome::kInterrupted, 0, false},
      {"Продължи", import::RunOutcome::kFinished, 2, true},
  };
  for (const Case& c : cases) {
    Harness h;
    h.form.show();
    QApplication::processEvents();
    std::string asked;
    // Closed at the run's first redraw; the question's button chosen then.
    QTimer::singleShot(0, [&] {
      QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        asked = box->text().toStdString() + "|" + box->defaultButton()->text().toStdString();
        for (QAbstractButton* button : box->buttons())
          if (button->text().toStdString() == c.answer) button->click();
      });
      h.form.close();
    });
    h.nextFile = workbook;
    h.form.Button2->click();
    QApplication::processEvents();
    EXPECT_EQ(asked, "Импортирането още работи.|Продължи") << c.answer;
    EXPECT_EQ(h.controller.LastResult().outcome, c.outcome) << c.answer;
    EXPECT_EQ(h.database.ScalarInt("SELECT COUNT(*) FROM documents"), c.stored) << c.answer;
    EXPECT_EQ(h.form.isVisible(), c.open) << c.answer;
  }
  fs::remove_all(folder);
}

// At the default size, after a run with a summary: the list keeps most of the
// height, a line under it tells of the double click, and the log's name is
// followed by the moment it carries, readably.
TEST(ImportWindow, TheListKeepsTheHeightBesideTheHintAndTheLogsMoment) {
  Harness h;
  const std::string folder = test::MakeTempFolder();
  const std::string workbook =
      test::MakeWorkbook(folder, "height.xls",
                         {Lettered({{"A", "Номер"}}), ContractRow("701", "7501010010"),
                          Lettered({{"A", "702"}, {"D", "Мария Иванова"}})});
  h.form.show();
  QApplication::processEvents();
  h.nextFile = workbook;
  h.form.Button2->click();
  QApplication::processEvents();

  ASSERT_TRUE(h.form.summaryBox->isVisible());
  EXPECT_GT(h.form.erLB->height() * 2, h.form.height());
  EXPECT_TRUE(h.form.doubleClickHint->isVisible());
  EXPECT_EQ(h.form.doubleClickHint->text().toStdString(),
            "Двойно щракване върху ред от списъка показва клетките на реда от "
            "работната книга.");

  const import::ImportSummary& summary = h.controller.LastResult().summary;
  std::string logLine;
  const auto labels = h.form.summaryBox->findChildren<QLabel*>();
  for (int i = 0; i + 1 < labels.size(); i += 2)
    if (labels[i]->text().toStdString() == "Лог файл:")
      logLine = labels[i + 1]->text().toStdString();
  const std::string moment = FormatDMYHMS(summary.logMoment);
  EXPECT_EQ(logLine,
            fs::absolute(summary.logFile).lexically_normal().string() + "  (" + moment + ")");
  // The same moment as the day number in the log's name.
  EXPECT_NE(summary.logFile.find(Format("_%.15g.txt", summary.logMoment)), std::string::npos)
      << summary.logFile;
  EXPECT_EQ(moment.substr(0, 10), FormatDMY(Today()));
  fs::remove_all(folder);
}

// The window's yes/no question (a header row that does not match): "Да" and
// "Не", "Не" the default.
TEST(ImportWindow, QuestionsAreAnsweredWithYesOrNo) {
  TForm1 form;
  QtMessages messages(&form);
  for (const bool yes : {true, false}) {
    std::string shown;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      shown = box->text().toStdString() + "|" + box->informativeText().toStdString() + "|" +
              box->defaultButton()->text().toStdString();
      box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    EXPECT_EQ(messages.Ask("Заглавният ред не съвпада.", "Да продължи ли?", !yes), yes);
    EXPECT_EQ(shown, "Заглавният ред не съвпада.|Да продължи ли?|Не");
  }
}

// "Длъжници": the list at the date asked for is written beside the log of the
// run shown and opened; a cancelled date writes nothing.
TEST(ImportWindow, DebtorsAreWrittenBesideTheLogAndOpened) {
  Harness h;
  std::vector<QUrl> opened;
  h.controller.SetUrlOpener([&](const QUrl& url) {
    opened.push_back(url);
    return true;
  });
  std::optional<TDate> date;
  h.controller.SetDateAsker([&] { return date; });
  const std::string folder = test::MakeTempFolder();
  // A refused row, so that the run writes its log.
  h.nextFile = test::MakeWorkbook(
      folder, "list.xls",
      {Lettered({{"A", "Номер"}}), ContractRow("301", "7501010010"), Lettered({{"A", "302"}})});
  h.form.show();
  QApplication::processEvents();
  h.form.Button2->click();
  const std::string log = h.controller.LastResult().summary.logFile;
  ASSERT_FALSE(log.empty());
  const size_t boxes = h.messages.shown.size();

  h.form.debtors->click();
  EXPECT_TRUE(opened.empty());
  date = EncodeDate(2025, 12, 31);
  h.form.debtors->click();
  ASSERT_EQ(opened.size(), 1u);
  const fs::path written = opened[0].toLocalFile().toStdString();
  EXPECT_TRUE(fs::equivalent(written.parent_path(), fs::path(log).parent_path()));
  EXPECT_EQ(written.filename().string().rfind("длъжници_31.12.2025_", 0), 0u);
  const auto sheet = workbook::OpenFirstWorksheet(written.string());
  EXPECT_EQ(sheet->CellText("A1"), "Договор №");
  EXPECT_EQ(sheet->CellText("A2"), "301");
  EXPECT_EQ(sheet->CellText("A3"), "Общо");
  EXPECT_TRUE(h.form.debtors->isEnabled());
  EXPECT_EQ(h.messages.shown.size(), boxes);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace zrv::ui

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
