#pragma once
// The window's "Длъжници": asks for the date, writes the list of debtors at
// that date as a workbook (.xlsx) in a folder and hands it to the desktop's
// application for workbooks. The list is the one `zorvit debtors` gives; the
// database is not changed.

#include <QUrl>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "common/Dates.h"
#include "platform/db/Database.h"
#include "platform/ui/Messages.h"
#include "state/DebtorList.h"

namespace zrv::ui {

class DebtorsAction {
 public:
  // The date of the list, or nullopt when the user cancels.
  using AskDateFn = std::function<std::optional<TDate>()>;
  using OpenUrlFn = std::function<bool(const QUrl&)>;

  // Everything given must outlive the action.
  DebtorsAction(db::Connection& db, Messages& messages, AskDateFn askDate, OpenUrlFn open)
      : db_(db), messages_(messages), askDate_(std::move(askDate)), open_(std::move(open)) {}

  // Asks for the date, writes "длъжници_DD.MM.YYYY_HHMMSS.xlsx" in `folder`
  // and opens it; gives the file written. A cancel writes nothing; an error is
  // shown in a message box. `progress` sees the contracts done.
  std::optional<std::string> Run(const std::string& folder, const state::DebtorProgress& progress);

 private:
  db::Connection& db_;
  Messages& messages_;
  AskDateFn askDate_;
  OpenUrlFn open_;
};

// The dialog that asks for the date of the list (today to begin with).
std::optional<TDate> AskDebtorsDate(QWidget* parent);

}  // namespace zrv::ui
