#pragma once
// What the domain shows the user: modal message boxes and yes/no questions.
// The window implements it with Qt dialogs, the command line with lines on
// standard error, and tests with a recorder.

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
  // A yes/no question: the text, then the question; true for yes. Where no
  // one can answer (the command line, a recorder), the text is shown as a
  // message and `unanswered` is the answer.
  virtual bool Ask(const std::string& text, const std::string& question, bool unanswered) {
    (void)question;
    ShowMessage(text);
    return unanswered;
  }
};

}  // namespace zrv::ui
