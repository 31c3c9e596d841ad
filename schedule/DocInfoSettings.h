#pragma once
// The settings of the rent schedule module, set once at start-up: the database
// connection every schedule, annex, payment and contract-state query runs on,
// whether the contracts table has a DOC_ADDPRICE column, and stored setting
// 14015. Nothing in the module decides anything by the last two; they are kept
// for the modules that read them.
//
// The stored setting is read through a function the caller hands over (the
// program passes the stored-settings module's integer reader), so this module
// does not depend on the application layer. Single-threaded; the connection
// must outlive every use.

#include <cstdint>
#include <functional>

#include "platform/db/Database.h"

namespace zrv::schedule {

// Reads a stored integer setting: (key, default) -> value.
using SystemIntReader =
    std::function<int32_t(int32_t key, int32_t defaultValue)>;

class DocInfoSettings {
 public:
  static constexpr int32_t kSettingKey = 14015;
  static constexpr int32_t kSettingDefault = 2;

  // Keeps the connection, probes the DOC_ADDPRICE column and reads setting
  // 14015 with `readInt` (default 2; without a reader the default is kept).
  // Database errors of the probe travel on.
  static void Init(db::Connection& connection, const SystemIntReader& readInt);

  static bool Initialized();
  // The connection handed to Init; throws zrv::Error before Init.
  static db::Connection& Database();
  static bool HasAddPrice();
  static int32_t Setting14015();

 private:
  static db::Connection* connection_;
  static bool hasAddPrice_;
  static int32_t setting14015_;
};

}  // namespace zrv::schedule
