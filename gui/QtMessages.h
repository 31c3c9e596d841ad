#pragma once
// Message boxes of the window: modal Qt boxes with the window as parent.

#include <QWidget>

#include "platform/ui/Messages.h"

namespace zrv::ui {

class QtMessages : public Messages {
 public:
  explicit QtMessages(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  void ShowMessage(const std::string& text) override;

 private:
  QWidget* parent_;
};

}  // namespace zrv::ui
