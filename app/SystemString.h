#pragma once
// Stored settings: texts kept by key in the table system_strings, shared with
// the other applications that work on the same database. A SystemString works
// on the connection it is given, which must outlive it; without one every
// operation throws "uSettingsConstants: Database not initialized.".
// Single-threaded.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/db/Database.h"

namespace zrv::app {

class SystemString {
 public:
  explicit SystemString(db::Connection* connection) : connection_(connection) {}

  // The stored text of the setting; "" when there is no row. When the
  // database cannot be read, text comes back unchanged.
  std::string GetSystemStr(int32_t key, const std::string& text) const;
  // Replaces the stored text. A database error is swallowed after its
  // rollback.
  void SetSystemStr(int32_t key, const std::string& text) const;
  // The stored value as an integer; when it is missing or not an integer,
  // stores the default and returns it.
  int32_t GetSystemInt(int32_t key, int32_t defaultValue) const;
  void SetSystemInt(int32_t key, int32_t value) const;

  // The stored value as an integer, or `defaultValue` when it is missing, not
  // an integer or cannot be read; writes nothing. What a program reads at
  // start-up, so that reading (a dry run's included) leaves the table as it
  // was.
  int32_t ReadSystemInt(int32_t key, int32_t defaultValue) const;

 private:
  db::Connection& Database() const;

  db::Connection* connection_;
};

}  // namespace zrv::app
