#pragma once
// The window's "История": the recorded import runs, newest first, and for the
// selected run "Отмени импортирането". The undo is first computed without a
// change and shown for confirmation (or its refusals, with no way on); on yes
// it is done in one transaction and the list is read again. The runs and the
// undo are those of `zorvit runs` and `zorvit undo`.

#include <QDialog>
#include <QPushButton>
#include <QTableWidget>
#include <functional>
#include <string>
#include <vector>

#include "import/RunUndo.h"
#include "platform/db/Database.h"

namespace zrv::ui {

class HistoryDialog : public QDialog {
 public:
  // The confirmation: a heading with the lines it is about; true for yes.
  using ConfirmFn =
      std::function<bool(const std::string& question, const std::vector<std::string>& lines)>;
  // A message with its lines (a result, refusals or an error).
  using TellFn =
      std::function<void(const std::string& message, const std::vector<std::string>& lines)>;

  // `db` must outlive the dialog; `by` is the user logged in to the window and
  // the workstation, for the run's record. The list is read at once.
  HistoryDialog(db::Connection& db, import::UndoUser by, QWidget* parent = nullptr);

  // Replace the message boxes, so that a test answers them.
  void SetConfirm(ConfirmFn confirm) { confirm_ = std::move(confirm); }
  void SetTell(TellFn tell) { tell_ = std::move(tell); }

  // Reads the runs again; the run selected stays selected.
  void Refresh();
  // The click on "Отмени импортирането".
  void UndoSelected();

  QTableWidget* runs = nullptr;       // one line a run, newest first
  QPushButton* undoButton = nullptr;  // "Отмени импортирането"

 private:
  // The id of the selected run; 0 for none.
  int SelectedRun() const;
  // Enabled for a selected run not undone yet.
  void UpdateButton();

  db::Connection& db_;
  import::UndoUser by_;
  ConfirmFn confirm_;
  TellFn tell_;
};

}  // namespace zrv::ui
