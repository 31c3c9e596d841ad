#include "platform/workbook/OleFile.h"

#include <cstdint>
#include <cstring>

namespace zrv::workbook {

namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr size_t kHeaderSize = 512;
constexpr size_t kDirectoryEntrySize = 128;
const unsigned char kMagic[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

uint16_t U16(std::string_view data, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(data[at]) |
                               static_cast<unsigned char>(data[at + 1]) << 8);
}

uint32_t U32(std::string_view data, size_t at) {
  return static_cast<uint32_t>(U16(data, at)) |
         static_cast<uint32_t>(U16(data, at + 2)) << 16;
}

struct Entry {
  std::string name;  // lower-case ASCII; other characters as '?'
  int type = 0;      // 1 storage, 2 stream, 5 root
  uint32_t start = 0;
  uint64_t size = 0;
};

class Container {
 public:
  explicit Container(std::string_view file) : file_(file) {
    if (file_.size() < kHeaderSize ||
        std::memcmp(file_.data(), kMagic, sizeof kMagic) != 0) {
      throw OleError("not an OLE2 container");
    }
    const uint16_t shift = U16(file_, 0x1E);
    const uint16_t miniShift = U16(file_, 0x20);
    if ((shift != 9 && shift != 12) || miniShift != 6)
      throw OleError("bad sector size");
    sectorSize_ = size_t{1} << shift;
    miniCutoff_ = U32(file_, 0x38);
    // Sector n starts at (n + 1) * sector size; only whole sectors count.
    sectors_ =
        file_.size() / sectorSize_ >= 1 ? file_.size() / sectorSize_ - 1 : 0;
    ReadFat();
    ReadDirectory();
  }

  const std::vector<Entry>& Entries() const { return entries_; }

  std::string Stream(const Entry& entry) const {
    if (entry.size > file_.size())
      throw OleError("stream size beyond the file");
    if (entry.size < miniCutoff_) return ReadMini(entry.start, entry.size);
    return Chain(
        fat_, entry.start, entry.size, [this](uint32_t s) { return Sector(s); },
        sectorSize_);
  }

 private:
  std::string_view Sector(uint32_t index) const {
    if (index >= sectors_) throw OleError("sector number beyond the file");
    return file_.substr((static_cast<size_t>(index) + 1) * sectorSize_,
                        sectorSize_);
  }

  // Follows a chain through `table`, giving up to `size` bytes (all of the
  // chain when size is unknown, i.e. UINT64_MAX). A chain that comes back to a
  // sector has a loop.
  template <typename SectorFn>
  std::string Chain(const std::vector<uint32_t>& table, uint32_t start,
                    uint64_t size, SectorFn sector, size_t unit) const {
    std::string out;
    uint32_t current = start;
    std::vector<bool> visited(table.size());
    while (current != kEndOfChain && out.size() < size) {
      if (current >= table.size() || visited[current])
        throw OleError("broken sector chain");
      visited[current] = true;
      std::string_view piece = sector(current);
      const uint64_t want = size - out.size();
      out.append(
          piece.substr(0, want < unit ? static_cast<size_t>(want) : unit));
      current = table[current];
    }
    if (size != UINT64_MAX && out.size() < size)
      throw OleError("stream shorter than its size");
    return out;
  }

  void ReadFat() {
    std::vector<uint32_t> fatSectors;
    const uint32_t fatCount = U32(file_, 0x2C);
    for (size_t i = 0; i < 109 && fatSectors.size() < fatCount; ++i)
      fatSectors.push_back(U32(file_, 0x4C + i * 4));
    uint32_t difat = U32(file_, 0x44);
    size_t steps = 0;
    while (fatSectors.size() < fatCount && difat <= kMaxRegularSector) {
      if (++steps > sectors_) throw OleError("broken DIFAT chain");
      const std::string_view s = Sector(difat);
      for (size_t i = 0; i + 4 < sectorSize_ && fatSectors.size() < fatCount;
           i += 4)
        fatSectors.push_back(U32(s, i));
      difat = U32(s, sectorSize_ - 4);
    }
    if (fatSectors.size() < fatCount || fatCount > sectors_)
      throw OleError("incomplete FAT");
    for (uint32_t index : fatSectors) {
      const std::string_view s = Sector(index);
      for (size_t i = 0; i < sectorSize_; i += 4) fat_.push_back(U32(s, i));
    }
  }

  void ReadDirectory() {
    const std::string dir = Chain(
        fat_, U32(file_, 0x30), UINT64_MAX,
        [this](uint32_t s) { return Sector(s); }, sectorSize_);
    for (size_t at = 0; at + kDirectoryEntrySize <= dir.size();
         at += kDirectoryEntrySize) {
      const std::string_view raw(dir.data() + at, kDirectoryEntrySize);
      Entry e;
      const size_t nameBytes = U16(raw, 0x40);
      for (size_t i = 0; i + 1 < nameBytes && i < 62; i += 2) {
        const uint16_t c = U16(raw, i);
        if (c == 0) break;
        e.name += c < 0x80
                      ? static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c)
                      : '?';
      }
      e.type = static_cast<unsigned char>(raw[0x42]);
      e.start = U32(raw, 0x74);
      e.size =
          sectorSize_ == kHeaderSize
              ? U32(raw, 0x78)
              : (static_cast<uint64_t>(U32(raw, 0x7C)) << 32 | U32(raw, 0x78));
      entries_.push_back(std::move(e));
    }
    if (entries_.empty() || entries_[0].type != 5)
      throw OleError("no root entry");
  }

  std::string ReadMini(uint32_t start, uint64_t size) const {
    if (size == 0) return "";
    if (!miniLoaded_) {
      const uint32_t miniFatStart = U32(file_, 0x3C);
      const std::string table =
          miniFatStart == kEndOfChain
              ? std::string()
              : Chain(
                    fat_, miniFatStart, UINT64_MAX,
                    [this](uint32_t s) { return Sector(s); }, sectorSize_);
      for (size_t i = 0; i + 4 <= table.size(); i += 4)
        miniFat_.push_back(U32(table, i));
      const Entry& root = entries_[0];
      miniStream_ = Chain(
          fat_, root.start, root.size, [this](uint32_t s) { return Sector(s); },
          sectorSize_);
      miniLoaded_ = true;
    }
    constexpr size_t kMiniSize = 64;
    return Chain(
        miniFat_, start, size,
        [this](uint32_t s) {
          if ((static_cast<size_t>(s) + 1) * kMiniSize > miniStream_.size()) {
            throw OleError("mini sector beyond the mini stream");
          }
          return std::string_view(miniStream_)
              .substr(static_cast<size_t>(s) * kMiniSize, kMiniSize);
        },
        kMiniSize);
  }

  std::string_view file_;
  size_t sectorSize_ = 512;
  size_t sectors_ = 0;
  uint32_t miniCutoff_ = 4096;
  std::vector<uint32_t> fat_;
  std::vector<Entry> entries_;
  mutable bool miniLoaded_ = false;
  mutable std::vector<uint32_t> miniFat_;
  mutable std::string miniStream_;
};

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return text;
}

}  // namespace

std::string ReadOleStream(std::string_view file,
                          const std::vector<std::string>& names) {
  const Container container(file);
  for (const auto& name : names) {
    const std::string wanted = Lower(name);
    for (const Entry& e : container.Entries()) {
      if (e.type == 2 && e.name == wanted) return container.Stream(e);
    }
  }
  throw OleError("no workbook stream in the container");
}

bool HasOleStream(std::string_view file, const std::string& name) {
  const Container container(file);
  const std::string wanted = Lower(name);
  for (const Entry& e : container.Entries()) {
    if (e.type == 2 && e.name == wanted) return true;
  }
  return false;
}

}  // namespace zrv::workbook
