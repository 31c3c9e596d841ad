#pragma once
// What the domain shows the user: modal message boxes and the choice of a
// workbook file. The window implements it with Qt dialogs, the command line
// with lines on standard error, and tests with a recorder.

#include <optional>
#include <string>

namespace zrv::ui {

class Messages {
 public:
  virtual ~Messages() = default;
  // A modal message box with the text; returns when the user has closed it.
  virtual void ShowMessage(const std::string& text) = 0;
  // The box of a failure after which the program ends; where no difference is
  // shown, the same as ShowMessage.
  virtual void ShowError(const std::string& text) { ShowMessage(text); }
};

}  // namespace zrv::ui
