#include "platform/db/firebird/FbWatchdog.h"

#include <algorithm>
#include <cstdlib>

#include "common/Text.h"
#include "platform/db/Firebird.h"

namespace zrv::db::fb {

namespace {

const char kNoAnswer[] = "Базата данни не отговори в рамките на %d с";
const char kStopped[] = "Заявката към базата данни е прекъсната, защото програмата спира";

// How often the thread looks, and how long a call may run on once a stop is
// requested before it is aborted (a row boundary usually comes sooner).
constexpr auto kPollInterval = std::chrono::milliseconds(100);
constexpr auto kStopGrace = std::chrono::seconds(1);

std::atomic<bool (*)()> g_stopCheck{nullptr};

}  // namespace

bool StopRequested() {
  bool (*check)() = g_stopCheck.load();
  return check && check();
}

Watchdog::Watchdog(isc_db_handle handle, int limitSeconds)
    : handle_(handle),
      limit_(std::chrono::seconds(limitSeconds)),
      limitSeconds_(limitSeconds),
      thread_([this] { Watch(); }) {}

Watchdog::~Watchdog() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ending_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void Watchdog::Enter() {
  if (depth_.fetch_add(1) == 0) since_.store(Clock::now().time_since_epoch().count());
}

void Watchdog::Leave() {
  if (depth_.fetch_sub(1) == 1) since_.store(0);
}

std::string Watchdog::AbortReason() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return reason_;
}

void Watchdog::Abort(const std::string& reason) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    reason_ = reason;
  }
  // From another thread, as the client library allows; the call in progress
  // then returns with an error.
  ISC_STATUS_ARRAY status;
  isc_db_handle handle = handle_;
  fb_cancel_operation(status, &handle, fb_cancel_abort);
}

void Watchdog::Watch() {
  Clock::time_point stopSeen{};
  std::unique_lock<std::mutex> lock(mutex_);
  while (!ending_) {
    wake_.wait_for(lock, kPollInterval);
    if (ending_ || !reason_.empty()) continue;
    const Clock::rep since = since_.load();
    if (since == 0) continue;
    const Clock::time_point now = Clock::now();
    const Clock::time_point began{Clock::duration(since)};
    std::string reason;
    if (now - began > limit_) {
      reason = Format(kNoAnswer, limitSeconds_);
    } else if (StopRequested()) {
      if (stopSeen == Clock::time_point{}) stopSeen = now;
      if (now - std::max(began, stopSeen) > kStopGrace) reason = kStopped;
    }
    if (reason.empty()) continue;
    lock.unlock();
    Abort(reason);
    lock.lock();
  }
}

}  // namespace zrv::db::fb

namespace zrv::db {

void SetStopCheck(bool (*stopRequested)()) { fb::g_stopCheck.store(stopRequested); }

bool ParseWaitLimit(const std::string& text, int& seconds) {
  int32_t value = 0;
  if (!TryParseInt(text, value) || value < 1 || value > kMaxWaitLimitSeconds) return false;
  seconds = value;
  return true;
}

int WaitLimitSeconds() {
  int seconds = kDefaultWaitLimitSeconds;
  const char* configured = std::getenv(kWaitLimitEnvVar);
  if (configured && ParseWaitLimit(configured, seconds)) return seconds;
  return kDefaultWaitLimitSeconds;
}

}  // namespace zrv::db
