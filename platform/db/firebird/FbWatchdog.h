#pragma once
// A thread that watches the engine calls on one attachment. A call that gets no
// answer within the wait limit, or that still runs a second after the program
// was asked to stop, has the attachment aborted (fb_cancel_operation with
// fb_cancel_abort): a remote attachment closes its socket and the call returns
// at once with a network error; on the embedded engine a running statement
// ends with "connection shutdown". The attachment is of no use afterwards.

#include <ibase.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace zrv::db::fb {

class Watchdog {
 public:
  Watchdog(isc_db_handle handle, int limitSeconds);
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

  // The start and the end of one engine call; nested calls count as the
  // outermost one.
  void Enter();
  void Leave();

  // Why the attachment was aborted; empty while it was not. The reason is the
  // message of the NoAnswerError the call gets instead of the engine's.
  std::string AbortReason() const;

 private:
  using Clock = std::chrono::steady_clock;
  void Watch();
  void Abort(const std::string& reason);

  isc_db_handle handle_;
  const Clock::duration limit_;
  const int limitSeconds_;
  std::atomic<int> depth_{0};
  std::atomic<Clock::rep> since_{0};  // start of the outermost call
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool ending_ = false;
  std::string reason_;
  std::thread thread_;
};

// The stop check of SetStopCheck (Firebird.h); false when none is set.
bool StopRequested();

}  // namespace zrv::db::fb
