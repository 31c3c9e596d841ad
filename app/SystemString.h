#pragma once
// Stored settings: texts kept by key in the table system_strings, shared with
// the other applications that work on the same database. All operations are
// class-level and work on the connection handed over once at start-up; the
// connection must outlive every use. Single-threaded.

#include <cstdint>
#include <string>

#include "platform/db/Database.h"

namespace zrv::app {

class SystemString {
 public:
  // Keeps the connection for every later operation (nullptr forgets it).
  static void Register(db::Connection* connection);

  // The stored text of the setting; "" when there is no row. When the database
  // cannot be read, text comes back unchanged. Throws zrv::Error before
  // Register.
  static std::string GetSystemStr(int32_t key, const std::string& text);
  // Replaces the stored text. A database error is swallowed after its rollback.
  // Throws zrv::Error before Register.
  static void SetSystemStr(int32_t key, const std::string& text);

  // The stored value as an integer; when it is missing or not an integer,
  // stores the default and returns it.
  static int32_t GetSystemInt(int32_t key, int32_t defaultValue);
  static void SetSystemInt(int32_t key, int32_t value);

 private:
  static db::Connection& Database();
  static db::Connection* connection_;
};

}  // namespace zrv::app
