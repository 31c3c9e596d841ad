#pragma once
// Read-only access to the parts of a ZIP archive (an .xlsx package), through
// libzip.

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>

struct zip;

namespace zrv::workbook {

class ZipError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The parts of a package by name: a ZIP archive, or parts held in memory.
class PartSource {
 public:
  virtual ~PartSource() = default;
  // True when a part of that name exists (compared without regard to case).
  virtual bool Contains(const std::string& name) const = 0;
  // The part's content; throws ZipError when it is missing or cannot be read.
  virtual std::string Read(const std::string& name) const = 0;
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
  // The whole uncompressed content of a part. Throws ZipError when it is
  // missing, encrypted, corrupt or larger than any workbook part should be.
  std::string Read(const std::string& name) const override;

 private:
  explicit ZipArchive(zip* archive) : zip_(archive) {}
  zip* zip_;
};

}  // namespace zrv::workbook
