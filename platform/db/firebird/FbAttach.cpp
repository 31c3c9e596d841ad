#include "platform/db/firebird/FbAttach.h"

#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/db/Database.h"
#include "platform/db/Firebird.h"
#include "platform/db/firebird/FbStatus.h"

namespace zrv::db::fb {

namespace {

const char kServerNotAnswering[] = "Сървърът на базата данни не отговаря: ";
// A remote attach ends by its connect time-out at the limit; its thread is
// waited for this much longer before it is left behind.
constexpr auto kRemoteMargin = std::chrono::seconds(2);
// An error this close to the limit is the connect time-out's.
constexpr auto kTimeOutSlack = std::chrono::milliseconds(500);

std::atomic<bool> g_abandoned{false};

// What the attach thread and its caller share; the thread keeps it alive
// after a caller that gave up.
struct PendingAttach {
  std::string path;
  Dpb dpb;
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  bool abandoned = false;
  ISC_STATUS_ARRAY status{};
  isc_db_handle db = 0;
};

void RunAttach(const std::shared_ptr<PendingAttach>& pending) {
  ISC_STATUS_ARRAY status;
  isc_db_handle db = 0;
  isc_attach_database(status, 0, pending->path.c_str(), &db, pending->dpb.Size(),
                      pending->dpb.Data());
  std::lock_guard<std::mutex> lock(pending->mutex);
  if (pending->abandoned) {
    // Nobody waits for this attachment any more.
    if (db) isc_detach_database(status, &db);
    return;
  }
  std::copy(std::begin(status), std::end(status), std::begin(pending->status));
  pending->db = db;
  pending->done = true;
  pending->finished.notify_all();
}

// The thread left behind runs code of this module: it must stay loaded when
// the module is a library that its program unloads (the login library).
void KeepThisModuleLoaded() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&KeepThisModuleLoaded), &info) && info.dli_fname) {
    dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  }
}

}  // namespace

isc_db_handle AttachWithin(const std::string& path, Dpb dpb, int limitSeconds) {
  const bool remote = IsServerName(path);
  if (remote) dpb.AddNumber(isc_dpb_connect_timeout, limitSeconds);
  auto pending = std::make_shared<PendingAttach>();
  pending->path = path;
  pending->dpb = std::move(dpb);

  const auto began = std::chrono::steady_clock::now();
  const auto limit = std::chrono::seconds(limitSeconds);
  std::thread worker([pending] { RunAttach(pending); });
  std::unique_lock<std::mutex> lock(pending->mutex);
  if (!pending->finished.wait_for(lock, remote ? limit + kRemoteMargin : limit,
                                  [&] { return pending->done; })) {
    pending->abandoned = true;
    g_abandoned = true;
    KeepThisModuleLoaded();
    lock.unlock();
    worker.detach();
    throw NoAnswerError(remote ? kServerNotAnswering + path
                               : std::string(kDatabaseNotAnswering) + ": " + path);
  }
  // Joined, not left to end by itself: the thread runs code of this module to
  // its very end, and a library may be unloaded right after the attach.
  lock.unlock();
  worker.join();
  const ISC_STATUS* status = pending->status;
  if (status[0] == 1 && status[1] != 0) {
    if (remote && HasCode(status, isc_connect_reject) &&
        std::chrono::steady_clock::now() - began >= limit - kTimeOutSlack)
      throw NoAnswerError(kServerNotAnswering + path);
    std::rethrow_exception(StatusError(status));
  }
  return pending->db;
}

}  // namespace zrv::db::fb

namespace zrv::db {

bool IsServerName(const std::string& serverName) {
  return serverName.find(':') != std::string::npos;
}

bool EngineAbandoned() { return fb::g_abandoned.load(); }

}  // namespace zrv::db
