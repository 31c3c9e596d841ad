#pragma once
// Message boxes of the window: modal Qt boxes with the window as parent.

#include <QMessageBox>
#include <QWidget>

#include "platform/ui/Messages.h"

namespace zrv::ui {

// A question box over `parent`: the text, the question under it, and two
// buttons; `no` is the default, so that Enter does not take the step by
// accident. True when `yes` was clicked.
bool AskInBox(QWidget* parent, const std::string& text, const std::string& question,
              const char* yes, const char* no);

class QtMessages : public Messages {
 public:
  explicit QtMessages(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  // Every box the run shows reports a problem: a warning icon.
  void ShowMessage(const std::string& text) override;
  // A failure that ends the program: the critical icon.
  void ShowError(const std::string& text) override;
  // The text, the question under it, and "Да" and "Не"; "Не" is the default
  // button, so that Enter does not go on by accident.
  bool Ask(const std::string& text, const std::string& question, bool unanswered) override;

 private:
  void Show(QMessageBox::Icon icon, const std::string& text);

  QWidget* parent_;
};

}  // namespace zrv::ui
