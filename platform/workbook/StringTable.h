#pragma once
// The shared strings of a workbook, kept in blocks of text with a 4-byte
// offset each: a million-row sheet can have millions of them, and a string
// object each would cost several times their text. Blocks are filled and never
// moved, so the table grows without copying what it holds.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zrv::workbook {

class StringTable {
 public:
  // Beyond these the table refuses more (PartTooLarge): no workbook the import
  // can use comes near them, and they bound the memory a hostile file can
  // take.
  static constexpr size_t kMaxStrings = 16u << 20;
  static constexpr size_t kMaxText = 256u << 20;

  // A table of at most `maxStrings` (at most kMaxStrings).
  explicit StringTable(size_t maxStrings = kMaxStrings)
      : maxStrings_(maxStrings < kMaxStrings ? maxStrings : kMaxStrings) {}

  void Add(std::string_view text);
  size_t size() const { return starts_.size(); }
  std::string_view operator[](size_t index) const;

 private:
  static constexpr size_t kBlock = 1u << 20;

  std::vector<std::string> blocks_;
  std::vector<uint32_t> firstOfBlock_;  // index of each block's first string
  std::vector<uint32_t> starts_;        // each string's offset in its block
  size_t text_ = 0;
  size_t maxStrings_;
};

}  // namespace zrv::workbook
