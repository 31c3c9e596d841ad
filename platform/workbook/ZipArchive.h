#pragma once
// Read-only access to the parts of a ZIP archive (an .xlsx package), through
// libzip.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

struct zip;

namespace zrv::workbook {

class ZipError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A part refused for its size: decompressing far beyond its stored size (a
// ZIP bomb), or larger than the reader holds in memory. The message is the
// reason, for the user.
class PartTooLarge : public ZipError {
 public:
  using ZipError::ZipError;
};

// A part read from its start, piece by piece.
class PartStream {
 public:
  virtual ~PartStream() = default;
  // Fills `buffer` with up to `capacity` next bytes and gives how many; 0 at
  // the end. Throws ZipError when the part cannot be read.
  virtual size_t Read(char* buffer, size_t capacity) = 0;
};

// The parts of a package by name: a ZIP archive, or parts held in memory.
class PartSource {
 public:
  virtual ~PartSource() = default;
  // True when a part of that name exists (compared without regard to case).
  virtual bool Contains(const std::string& name) const = 0;
  // The part's content; throws ZipError when it is missing or cannot be read.
  virtual std::string Read(const std::string& name) const = 0;
  // The part read in pieces, for the parts that can be large; this default
  // serves the content Read gives.
  virtual std::unique_ptr<PartStream> Open(const std::string& name) const;
  // The part's size as its package declares it (not checked before it is
  // read); by default the size of Read's content.
  virtual uint64_t DeclaredSize(const std::string& name) const;
};

class ZipArchive final : public PartSource {
 public:
  // Opens an archive file, or an archive held in memory that must outlive the
  // object. Throws ZipError with libzip's reason when it is no readable ZIP
  // archive.
  static std::unique_ptr<ZipArchive> OpenFile(const std::string& path);
  static std::unique_ptr<ZipArchive> OpenMemory(const void* data, size_t size);
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // True when the archive holds a part of that name (compared without regard to
  // case, as package part names are).
  bool Contains(const std::string& name) const override;
  // The whole uncompressed content of a small part (relationships, workbook,
  // styles). Throws ZipError when it is missing, encrypted or corrupt, and
  // PartTooLarge above kMaxWholePart or when it decompresses to more than
  // kMaxRatio times its stored size.
  std::string Read(const std::string& name) const override;
  // A part read in pieces, with the same ratio check; no other size limit.
  std::unique_ptr<PartStream> Open(const std::string& name) const override;
  uint64_t DeclaredSize(const std::string& name) const override;

  // A part held whole in memory (parsed into a tree) is at most this large.
  static constexpr size_t kMaxWholePart = 8u << 20;
  // Workbook XML deflates to a tenth or a fortieth of its size; a part that
  // grows more than this many times its stored size, beyond the first
  // kRatioAllowance bytes, is taken for a ZIP bomb.
  static constexpr unsigned kMaxRatio = 100;
  static constexpr size_t kRatioAllowance = 4u << 20;

 private:
  explicit ZipArchive(zip* archive) : zip_(archive) {}
  zip* zip_;
};

}  // namespace zrv::workbook
