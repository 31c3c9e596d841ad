#pragma once
// Message boxes raised while a row is being stored wait until the row has
// ended and the run has committed what it holds. A box waits for the clerk,
// and the run's locks must not wait with it: another workstation storing the
// same contract, or a link to the same property, would stand still until the
// box is closed.

#include <string>
#include <utility>
#include <vector>

#include "platform/ui/Messages.h"

namespace zrv::import {

class HeldMessages : public ui::Messages {
 public:
  explicit HeldMessages(ui::Messages& boxes) : boxes_(boxes) {}

  void ShowMessage(const std::string& text) override { Show(text, false); }
  void ShowError(const std::string& text) override { Show(text, true); }
  // A question waits for its answer: it is asked at once, never held (the run
  // asks only between rows).
  bool Ask(const std::string& text, const std::string& question, bool unanswered) override {
    return boxes_.Ask(text, question, unanswered);
  }

  // True when messages wait to be shown.
  bool HasHeld() const { return !held_.empty(); }

  // Forgets the messages held so far: they belong to a try of a row that is
  // tried again.
  void DiscardHeld() { held_.clear(); }

  // Keeps the messages raised while it lives and shows them, in order, when it
  // ends (declared before the row's transaction, it ends after it).
  class Hold {
   public:
    explicit Hold(HeldMessages& messages) : messages_(messages) { messages_.holding_ = true; }
    ~Hold() { messages_.Release(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    HeldMessages& messages_;
  };

 private:
  void Show(const std::string& text, bool error) {
    if (holding_)
      held_.emplace_back(text, error);
    else if (error)
      boxes_.ShowError(text);
    else
      boxes_.ShowMessage(text);
  }

  void Release() {
    holding_ = false;
    std::vector<std::pair<std::string, bool>> held = std::move(held_);
    held_.clear();
    for (const auto& [text, error] : held) Show(text, error);
  }

  ui::Messages& boxes_;
  bool holding_ = false;
  std::vector<std::pair<std::string, bool>> held_;
};

}  // namespace zrv::import
