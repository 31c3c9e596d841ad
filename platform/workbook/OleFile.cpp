#include "platform/workbook/OleFile.h"

#include <algorithm>
#include <cstring>

namespace zrv::workbook {

namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr size_t kHeaderSize = 512;
constexpr size_t kDirectoryEntrySize = 128;
constexpr size_t kMiniSize = 64;
const unsigned char kMagic[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr const char* kBeyondFile = "sector number beyond the file";
constexpr const char* kBeyondMini = "mini sector beyond the mini stream";

uint16_t U16(std::string_view data, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(data[at]) |
                               static_cast<unsigned char>(data[at + 1]) << 8);
}

uint32_t U32(std::string_view data, size_t at) {
  return static_cast<uint32_t>(U16(data, at)) | static_cast<uint32_t>(U16(data, at + 2)) << 16;
}

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return text;
}

// The sectors of a chain through `table` from `start`, enough for `size`
// bytes in sectors of `unit` bytes (the whole chain when size is UINT64_MAX).
// A chain that comes back to a sector has a loop; a sector at or past `units`
// lies outside what holds the sectors.
std::vector<uint32_t> ChainOf(const std::vector<uint32_t>& table, uint32_t start, uint64_t size,
                              size_t unit, size_t units, const char* beyond) {
  std::vector<uint32_t> chain;
  std::vector<bool> visited(table.size());
  uint64_t covered = 0;
  for (uint32_t current = start; current != kEndOfChain && covered < size;
       current = table[current]) {
    if (current >= table.size() || visited[current]) throw OleError("broken sector chain");
    if (current >= units) throw OleError(beyond);
    visited[current] = true;
    chain.push_back(current);
    covered += unit;
  }
  if (size != UINT64_MAX && covered < size) throw OleError("stream shorter than its size");
  return chain;
}

// A stream in regular sectors, read from the file a block at a time, runs of
// neighbouring sectors at once. The blocks last read are kept: reading the
// records in order costs one read of the file per block, and so does reading
// a sheet written column by column row after row, whose rows' records lie in
// as many places as it has columns.
class SectorStream final : public ByteSource {
 public:
  SectorStream(std::shared_ptr<const ByteSource> file, std::vector<uint32_t> sectors,
               size_t sectorSize, uint64_t size)
      : file_(std::move(file)),
        sectors_(std::move(sectors)),
        sectorSize_(sectorSize),
        size_(size) {}

  uint64_t Size() const override { return size_; }

  void ReadAt(uint64_t offset, size_t count, char* out) const override {
    if (offset > size_ || count > size_ - offset)
      throw FileReadError("a read past the end of the stream");
    while (count > 0) {
      const Block& block = BlockAt(offset / kBlockSize);
      const size_t within = static_cast<size_t>(offset % kBlockSize);
      const size_t n = std::min(count, block.bytes.size() - within);
      std::memcpy(out, block.bytes.data() + within, n);
      out += n;
      offset += n;
      count -= n;
    }
  }

 private:
  static constexpr size_t kBlockSize = 8 * 1024;  // a whole number of sectors
  static constexpr size_t kBlocksKept = 64;

  struct Block {
    uint64_t index = UINT64_MAX;
    uint64_t lastUse = 0;
    std::string bytes;
  };

  const Block& BlockAt(uint64_t index) const {
    ++uses_;
    if (last_ != nullptr && last_->index == index) {
      last_->lastUse = uses_;
      return *last_;
    }
    if (blocks_.empty()) blocks_.resize(kBlocksKept);
    Block* oldest = &blocks_[0];
    for (Block& block : blocks_) {
      if (block.index == index) {
        block.lastUse = uses_;
        last_ = &block;
        return block;
      }
      if (block.lastUse < oldest->lastUse) oldest = &block;
    }
    oldest->index = UINT64_MAX;  // until it is filled
    Fill(index * kBlockSize, oldest->bytes);
    oldest->index = index;
    oldest->lastUse = uses_;
    last_ = oldest;
    return *oldest;
  }

  void Fill(uint64_t start, std::string& bytes) const {
    const size_t length = static_cast<size_t>(std::min<uint64_t>(kBlockSize, size_ - start));
    bytes.resize(length);
    size_t done = 0;
    while (done < length) {
      const uint64_t at = start + done;
      size_t index = static_cast<size_t>(at / sectorSize_);
      const size_t within = static_cast<size_t>(at % sectorSize_);
      const uint32_t first = sectors_[index];
      size_t run = sectorSize_ - within;
      while (done + run < length && index + 1 < sectors_.size() &&
             sectors_[index + 1] == sectors_[index] + 1) {
        ++index;
        run += sectorSize_;
      }
      run = std::min(run, length - done);
      file_->ReadAt((static_cast<uint64_t>(first) + 1) * sectorSize_ + within, run,
                    bytes.data() + done);
      done += run;
    }
  }

  std::shared_ptr<const ByteSource> file_;
  std::vector<uint32_t> sectors_;
  size_t sectorSize_;
  uint64_t size_;
  mutable std::vector<Block> blocks_;  // sized once, so pointers stay
  mutable Block* last_ = nullptr;      // the block read last
  mutable uint64_t uses_ = 0;
};

}  // namespace

OleContainer::OleContainer(std::shared_ptr<const ByteSource> file) : file_(std::move(file)) {
  if (file_->Size() < kHeaderSize) throw OleError("not an OLE2 container");
  header_.resize(kHeaderSize);
  file_->ReadAt(0, kHeaderSize, header_.data());
  if (std::memcmp(header_.data(), kMagic, sizeof kMagic) != 0)
    throw OleError("not an OLE2 container");
  const uint16_t shift = U16(header_, 0x1E);
  const uint16_t miniShift = U16(header_, 0x20);
  if ((shift != 9 && shift != 12) || miniShift != 6) throw OleError("bad sector size");
  sectorSize_ = size_t{1} << shift;
  miniCutoff_ = U32(header_, 0x38);
  // Sector n starts at (n + 1) * sector size; only whole sectors count.
  const uint64_t whole = file_->Size() / sectorSize_;
  sectors_ = whole >= 1 ? static_cast<size_t>(whole - 1) : 0;
  ReadFat();
  ReadDirectory();
}

std::string OleContainer::Sector(uint32_t index) const {
  if (index >= sectors_) throw OleError(kBeyondFile);
  std::string sector(sectorSize_, '\0');
  file_->ReadAt((static_cast<uint64_t>(index) + 1) * sectorSize_, sectorSize_, sector.data());
  return sector;
}

std::string OleContainer::ReadChain(uint32_t start, uint64_t size) const {
  std::string out;
  for (uint32_t index : ChainOf(fat_, start, size, sectorSize_, sectors_, kBeyondFile)) {
    const std::string piece = Sector(index);
    const uint64_t want = size - out.size();
    out.append(piece, 0, want < sectorSize_ ? static_cast<size_t>(want) : sectorSize_);
  }
  return out;
}

void OleContainer::ReadFat() {
  std::vector<uint32_t> fatSectors;
  const uint32_t fatCount = U32(header_, 0x2C);
  for (size_t i = 0; i < 109 && fatSectors.size() < fatCount; ++i)
    fatSectors.push_back(U32(header_, 0x4C + i * 4));
  uint32_t difat = U32(header_, 0x44);
  size_t steps = 0;
  while (fatSectors.size() < fatCount && difat <= kMaxRegularSector) {
    if (++steps > sectors_) throw OleError("broken DIFAT chain");
    const std::string s = Sector(difat);
    for (size_t i = 0; i + 4 < sectorSize_ && fatSectors.size() < fatCount; i += 4)
      fatSectors.push_back(U32(s, i));
    difat = U32(s, sectorSize_ - 4);
  }
  if (fatSectors.size() < fatCount || fatCount > sectors_) throw OleError("incomplete FAT");
  fat_.reserve(fatSectors.size() * (sectorSize_ / 4));
  for (uint32_t index : fatSectors) {
    const std::string s = Sector(index);
    for (size_t i = 0; i < sectorSize_; i += 4) fat_.push_back(U32(s, i));
  }
}

void OleContainer::ReadDirectory() {
  const std::string dir = ReadChain(U32(header_, 0x30), UINT64_MAX);
  for (size_t at = 0; at + kDirectoryEntrySize <= dir.size(); at += kDirectoryEntrySize) {
    const std::string_view raw(dir.data() + at, kDirectoryEntrySize);
    Entry e;
    const size_t nameBytes = U16(raw, 0x40);
    for (size_t i = 0; i + 1 < nameBytes && i < 62; i += 2) {
      const uint16_t c = U16(raw, i);
      if (c == 0) break;
      e.name += c < 0x80 ? static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c) : '?';
    }
    e.type = static_cast<unsigned char>(raw[0x42]);
    e.start = U32(raw, 0x74);
    e.size = sectorSize_ == kHeaderSize
                 ? U32(raw, 0x78)
                 : (static_cast<uint64_t>(U32(raw, 0x7C)) << 32 | U32(raw, 0x78));
    entries_.push_back(std::move(e));
  }
  if (entries_.empty() || entries_[0].type != 5) throw OleError("no root entry");
}

std::string OleContainer::ReadMini(uint32_t start, uint64_t size) const {
  if (size == 0) return "";
  const uint32_t miniFatStart = U32(header_, 0x3C);
  const std::string table =
      miniFatStart == kEndOfChain ? std::string() : ReadChain(miniFatStart, UINT64_MAX);
  std::vector<uint32_t> miniFat;
  for (size_t i = 0; i + 4 <= table.size(); i += 4) miniFat.push_back(U32(table, i));
  const Entry& root = entries_[0];
  const std::string miniStream = ReadChain(root.start, root.size);
  std::string out;
  for (uint32_t index :
       ChainOf(miniFat, start, size, kMiniSize, miniStream.size() / kMiniSize, kBeyondMini)) {
    const uint64_t want = size - out.size();
    out.append(miniStream, static_cast<size_t>(index) * kMiniSize,
               want < kMiniSize ? static_cast<size_t>(want) : kMiniSize);
  }
  return out;
}

bool OleContainer::Has(const std::string& name) const {
  const std::string wanted = Lower(name);
  return std::any_of(entries_.begin(), entries_.end(),
                     [&](const Entry& e) { return e.type == 2 && e.name == wanted; });
}

std::shared_ptr<const ByteSource> OleContainer::Open(const std::vector<std::string>& names) const {
  for (const auto& name : names) {
    const std::string wanted = Lower(name);
    for (const Entry& e : entries_) {
      if (e.type != 2 || e.name != wanted) continue;
      if (e.size > file_->Size()) throw OleError("stream size beyond the file");
      if (e.size < miniCutoff_) return CopyBytes(ReadMini(e.start, e.size));
      return std::make_shared<SectorStream>(
          file_, ChainOf(fat_, e.start, e.size, sectorSize_, sectors_, kBeyondFile), sectorSize_,
          e.size);
    }
  }
  throw OleError("no workbook stream in the container");
}

std::string ReadOleStream(std::string_view file, const std::vector<std::string>& names) {
  const auto stream = OleContainer(std::make_shared<ViewBytes>(file)).Open(names);
  std::string content(static_cast<size_t>(stream->Size()), '\0');
  stream->ReadAt(0, content.size(), content.data());
  return content;
}

bool HasOleStream(std::string_view file, const std::string& name) {
  return OleContainer(std::make_shared<ViewBytes>(file)).Has(name);
}

}  // namespace zrv::workbook
