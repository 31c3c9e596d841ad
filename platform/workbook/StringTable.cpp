#include "platform/workbook/StringTable.h"

#include <algorithm>

#include "platform/workbook/ZipArchive.h"

namespace zrv::workbook {

void StringTable::Add(std::string_view text) {
  if (starts_.size() >= maxStrings_)
    throw PartTooLarge("таблицата на общите низове има над " + std::to_string(maxStrings_) +
                       " низа");
  if (text_ + text.size() > kMaxText)
    throw PartTooLarge("текстът на общите низове е над " + std::to_string(kMaxText >> 20) + " MiB");
  if (blocks_.empty() || blocks_.back().size() + text.size() > blocks_.back().capacity()) {
    blocks_.emplace_back().reserve(std::max(kBlock, text.size()));
    firstOfBlock_.push_back(static_cast<uint32_t>(starts_.size()));
  }
  starts_.push_back(static_cast<uint32_t>(blocks_.back().size()));
  blocks_.back().append(text);
  text_ += text.size();
}

std::string_view StringTable::operator[](size_t index) const {
  const size_t block = std::upper_bound(firstOfBlock_.begin(), firstOfBlock_.end(), index) -
                       firstOfBlock_.begin() - 1;
  const bool lastInBlock = index + 1 == starts_.size() || (block + 1 < firstOfBlock_.size() &&
                                                           index + 1 == firstOfBlock_[block + 1]);
  const size_t end = lastInBlock ? blocks_[block].size() : starts_[index + 1];
  return std::string_view(blocks_[block]).substr(starts_[index], end - starts_[index]);
}

}  // namespace zrv::workbook
