#include "app/TerminationSignals.h"

#include <signal.h>

#include <atomic>

#include "platform/db/Firebird.h"

namespace zrv::app {

namespace {
std::atomic<int> g_signal{0};

const char kInterrupted[] = "Работата е прекъсната по сигнал.";

// Back to the default action for the signal and raise it again: the process
// ends as the signal demands. The default is set with sigaction, so a handler
// the database client put in front of ours (and that calls ours) cannot take
// the raise again; the signal, blocked while the handler runs, is delivered
// once the handler returns.
void DieOn(int signal) {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
  raise(signal);
}

extern "C" void OnTerminationSignal(int signal) {
  int none = 0;
  // The first signal asks to stop; a second one means it now.
  if (!g_signal.compare_exchange_strong(none, signal)) DieOn(signal);
}

extern "C" void DieOnSignal(int signal) { DieOn(signal); }

// The handler chosen last; none until a program chooses.
std::atomic<void (*)(int)> g_handler{nullptr};

void Install(void (*handler)(int)) {
  g_handler.store(handler);
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}
}  // namespace

void CatchTerminationSignals() {
  Install(OnTerminationSignal);
  // A statement that does not end soon after the signal (a frozen server) is
  // aborted, so the work reaches its safe point all the same.
  db::SetStopCheck(&TerminationRequested);
}

void DieOnTerminationSignals() { Install(DieOnSignal); }

void ReclaimTerminationSignals() {
  if (void (*handler)(int) = g_handler.load()) Install(handler);
}

bool TerminationRequested() { return g_signal.load() != 0; }

int TerminationExitCode() { return 128 + g_signal.load(); }

void StopIfTerminationRequested() {
  if (TerminationRequested()) throw TerminationRequestedError(kInterrupted);
}

}  // namespace zrv::app
