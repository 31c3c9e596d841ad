#pragma once
// Message boxes for tests: every text shown is kept, in order, instead of being
// displayed.

#include <string>
#include <vector>

#include "platform/ui/Messages.h"

namespace zrv::test {

class RecordingMessages : public ui::Messages {
 public:
  void ShowMessage(const std::string& text) override { shown.push_back(text); }

  // The texts shown so far, oldest first.
  std::vector<std::string> shown;
};

}  // namespace zrv::test
