#pragma once
// Bytes read by offset from a file kept open, or from memory: what the .xls
// reader reads its container and its records from, so that a sheet's records
// are read from the file when they are asked for instead of held.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zrv::workbook {

// The file cannot be read (any more): an input error, or it is shorter or
// was written to since it was opened.
class FileReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Copies `count` bytes from `offset` to `out`. Throws FileReadError when the
  // range is not all inside Size() or the bytes cannot be read.
  virtual void ReadAt(uint64_t offset, size_t count, char* out) const = 0;
};

// A regular file, opened without blocking and kept open. Each read checks that
// the file still has the size and modification time it had when opened: a
// file written to since then no longer gives the bytes that were checked.
// Throws FileReadError when the path cannot be opened as a regular file.
std::shared_ptr<const ByteSource> OpenFileBytes(const std::string& path);

// Bytes in memory: a copy of `bytes` kept by the source.
std::shared_ptr<const ByteSource> CopyBytes(std::string_view bytes);

// Bytes in memory that the caller keeps for as long as the source lives.
class ViewBytes final : public ByteSource {
 public:
  explicit ViewBytes(std::string_view bytes) : bytes_(bytes) {}
  uint64_t Size() const override { return bytes_.size(); }
  void ReadAt(uint64_t offset, size_t count, char* out) const override;

 private:
  std::string_view bytes_;
};

}  // namespace zrv::workbook
