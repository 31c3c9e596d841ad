#include "gui/WindowLogin.h"

#include <exception>

#include "app/DatabaseConnection.h"
#include "app/Entry.h"
#include "platform/login/DatabaseLocation.h"

namespace zrv::ui {

namespace {
const char kCheckCredentials[] = "Проверете потребителя и паролата и опитайте отново.";
constexpr int kExitFailed = 1;
constexpr int kExitCancelled = 0;
}  // namespace

std::optional<int> WindowLogin(const std::vector<std::string>& parameters,
                               const std::function<void(const std::string&)>& showError,
                               SessionValues& session) {
  // The texts of a missing, held or stuck file say what to do.
  const std::string problem = app::DatabaseProblem(login::DefaultDatabasePath());
  if (!problem.empty()) {
    showError(problem);
    return kExitFailed;
  }
  LoginOutcome outcome;
  try {
    outcome = LoginFromParameters(parameters);
  } catch (const std::exception& e) {
    showError(e.what());
    return kExitFailed;
  }
  if (outcome.session) {
    session = *outcome.session;
    return std::nullopt;
  }
  const std::optional<std::string>& reason = outcome.problem;
  if (reason && reason->empty()) return kExitCancelled;
  std::string text = kLoginRefused;
  if (reason) text += "\n" + *reason;
  showError(text + "\n\n" + kCheckCredentials);
  return kExitFailed;
}

}  // namespace zrv::ui
