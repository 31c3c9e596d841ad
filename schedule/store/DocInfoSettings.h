#pragma once
// The settings of the rent schedule module, read once at start-up: whether the
// contracts table has a DOC_ADDPRICE column, and stored setting 14015. No step
// of the import decides anything by them; they are read because the rental
// application's modules read them at the same moment, and the run keeps them.
//
// The stored setting is read through a function the caller hands over (the
// program passes the stored-settings module's integer reader), so this module
// does not depend on the application layer.

#include <cstdint>
#include <functional>

#include "platform/db/Database.h"

namespace zrv::schedule {

// Reads a stored integer setting: (key, default) -> value.
using SystemIntReader = std::function<int32_t(int32_t key, int32_t defaultValue)>;

struct DocInfoSettings {
  static constexpr int32_t kSettingKey = 14015;
  static constexpr int32_t kSettingDefault = 2;

  // Probes the DOC_ADDPRICE column and reads setting 14015 with `readInt`
  // (without a reader the default is kept). Database errors travel on.
  void Init(db::Connection& connection, const SystemIntReader& readInt);

  bool hasAddPrice = false;
  int32_t setting14015 = kSettingDefault;
};

}  // namespace zrv::schedule
