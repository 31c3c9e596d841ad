#pragma once
// The text of a key that stands for a stored row (a contract, a person, a
// property): its parts one after another, each preceded by its length and a
// colon, so that no two different lists of parts give the same text.

#include <cstdint>
#include <string>
#include <string_view>

namespace zrv::contracts {

class KeyText {
 public:
  void Add(std::string_view part) {
    text_ += std::to_string(part.size());
    text_ += ':';
    text_ += part;
  }
  void Add(int32_t part) { Add(std::to_string(part)); }

  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace zrv::contracts
