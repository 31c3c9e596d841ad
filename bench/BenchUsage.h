#pragma once
// How the benchmark programs read their command lines: --help or -h prints
// the usage on standard output and ends with exit code 0; an option or an
// argument a program does not take prints the reason and the usage on
// standard error and ends with exit code 2, before anything is made or
// measured.

#include <charconv>
#include <iostream>
#include <string>
#include <vector>

namespace zrv::bench {

inline constexpr int kExitUsage = 2;

inline bool AsksForHelp(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

// The usage for --help: on standard output, exit code 0.
inline int ShowHelp(const char* usage) {
  std::cout << usage;
  return 0;
}

// A refused command line: the reason and the usage on standard error, exit
// code 2.
inline int RefuseArgs(const char* usage, const std::string& reason) {
  std::cerr << reason << "\n" << usage;
  return kExitUsage;
}

// True with the number when all of `text` is a whole number of at least
// `least`.
inline bool ParseCount(const std::string& text, int least, int& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end && value >= least;
}

}  // namespace zrv::bench
