#include "app/TerminationSignals.h"

#include <signal.h>

#include <atomic>

namespace zrv::app {

namespace {
std::atomic<bool> g_requested{false};

extern "C" void OnTerminationSignal(int) { g_requested.store(true); }

// Installed with SA_RESETHAND: the handler is replaced by the default before it
// runs, so raising the signal again ends the process the ordinary way.
extern "C" void DieOnSignal(int signal) { raise(signal); }

void Install(void (*handler)(int), int flags) {
  struct sigaction action {};
  action.sa_handler = handler;
  action.sa_flags = flags;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}
}  // namespace

void CatchTerminationSignals() { Install(OnTerminationSignal, 0); }

void DieOnTerminationSignals() { Install(DieOnSignal, SA_RESETHAND); }

bool TerminationRequested() { return g_requested.load(); }

}  // namespace zrv::app
