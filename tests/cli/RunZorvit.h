#pragma once
// Runs the built `zorvit` program on a test database and keeps what it printed.

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace zrv::test {

struct ZorvitResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteWholeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// `zorvit ARGUMENTS --database DATABASE`, its output kept in `folder`.
inline ZorvitResult RunZorvit(const std::string& folder, const std::string& database,
                              const std::string& arguments) {
  const std::string out = folder + "/zorvit-out.txt";
  const std::string err = folder + "/zorvit-err.txt";
  const std::string command = std::string(ZRV_BINARY_DIR) + "/bin/zorvit " + arguments +
                              " --database '" + database + "' >'" + out + "' 2>'" + err + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWholeFile(out), ReadWholeFile(err)};
}

}  // namespace zrv::test
