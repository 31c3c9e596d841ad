#include "tests/support/Zorvit.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace zrv::test {

namespace {

// The word in single quotes for the shell.
std::string Quoted(const std::string& word) {
  std::string out = "'";
  for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

ZorvitResult RunZorvit(const std::string& folder, const std::vector<std::string>& args,
                       const std::string& environment) {
  std::string command = "cd " + Quoted(folder) + " && env -u ZRV_PASSWORD " + environment + " " +
                        ZRV_BINARY_DIR + "/bin/zorvit";
  for (const auto& arg : args) command += " " + Quoted(arg);
  command += " </dev/null >out.txt 2>err.txt";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWholeFile(folder + "/out.txt"),
          ReadWholeFile(folder + "/err.txt")};
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace zrv::test
