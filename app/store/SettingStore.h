#pragma once
// The statements of system_strings (stored settings, by key), in a
// transaction the caller gives.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/db/Database.h"

namespace zrv::app {

class SettingStore {
 public:
  explicit SettingStore(db::Transaction& tx) : tx_(tx) {}

  // The stored text of setting `key`; nothing when there is no row.
  std::optional<std::string> Read(int32_t key) const;
  // Replaces the stored text of setting `key`.
  void Write(int32_t key, const std::string& text) const;

 private:
  db::Transaction& tx_;
};

}  // namespace zrv::app
