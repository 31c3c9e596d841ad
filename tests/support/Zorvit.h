#pragma once
// Runs the built `zorvit` program as a script would, for the tests of its
// commands.

#include <string>
#include <vector>

namespace zrv::test {

struct ZorvitResult {
  int exitCode = -1;  // -1 when the program did not exit normally
  std::string out;    // standard output
  std::string err;    // standard error
};

// Runs zorvit with `args` in `folder` (which keeps out.txt and err.txt), with
// no input, without $ZRV_PASSWORD and with the shell assignments of
// `environment` ("NAME=value ...").
ZorvitResult RunZorvit(const std::string& folder, const std::vector<std::string>& args,
                       const std::string& environment = "");

// The whole content of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace zrv::test
