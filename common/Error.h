#pragma once
// The system's error: an exception that carries a message for the user or the
// log.

#include <stdexcept>
#include <string>

namespace zrv {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace zrv
