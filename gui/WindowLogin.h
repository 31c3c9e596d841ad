#pragma once
// The login of the window program, before any window shows. A desktop launch
// throws standard error away, so every reason the program cannot go on is
// shown in a box.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Session.h"

namespace zrv::ui {

// Names a database that nobody can open (missing, held by another program, or
// held by one that does not answer; see app::DatabaseProblem), then logs in
// through the login library: without a dialog with exactly two parameters,
// else with its dialog. nullopt when the user is logged in (`session` then
// holds the login's values). Otherwise the exit code: 1 after `showError` was
// given the reason and what to do next, 0 when the user cancelled the dialog
// (nothing shown).
std::optional<int> WindowLogin(const std::vector<std::string>& parameters,
                               const std::function<void(const std::string&)>& showError,
                               SessionValues& session);

}  // namespace zrv::ui
