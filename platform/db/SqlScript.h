#pragma once
// Splitting a schema script into the statements an engine runs one by one.

#include <string>
#include <vector>

namespace zrv::db {

// The statements of a script, without their terminators. Statements end with
// ";" until a "SET TERM x ;" line names another terminator (for trigger and
// procedure bodies, whose own statements end with ";"). Terminators inside
// quotes or comments do not count. Empty statements, SET TERM and COMMIT lines
// are left out: the runner decides on transactions.
std::vector<std::string> SplitSqlScript(const std::string& script);

}  // namespace zrv::db
