#include "platform/workbook/ZipArchive.h"

#include <zip.h>

#include <algorithm>
#include <cstring>

namespace zrv::workbook {

namespace {

std::string Reason(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

std::string MiB(size_t bytes) { return std::to_string(bytes >> 20) + " MiB"; }

// A part held in memory, served in pieces.
class MemoryStream final : public PartStream {
 public:
  explicit MemoryStream(std::string content) : content_(std::move(content)) {}
  size_t Read(char* buffer, size_t capacity) override {
    const size_t n = std::min(capacity, content_.size() - pos_);
    std::memcpy(buffer, content_.data() + pos_, n);
    pos_ += n;
    return n;
  }

 private:
  std::string content_;
  size_t pos_ = 0;
};

// A part of the archive decompressed as it is read, refused once it grows past
// kMaxRatio times its stored size.
class ZipPartStream final : public PartStream {
 public:
  ZipPartStream(zip_t* archive, const std::string& name) : name_(name) {
    const zip_int64_t index = zip_name_locate(archive, name.c_str(), ZIP_FL_NOCASE);
    if (index < 0) throw ZipError("the package has no part " + name);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &stat) != 0) {
      throw ZipError(name + ": " + zip_strerror(archive));
    }
    const zip_uint64_t stored = (stat.valid & ZIP_STAT_COMP_SIZE) ? stat.comp_size : 0;
    limit_ = ZipArchive::kRatioAllowance +
             std::min<zip_uint64_t>(stored, UINT64_MAX / 1024) * ZipArchive::kMaxRatio;
    file_ = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
    if (file_ == nullptr) throw ZipError(name + ": " + zip_strerror(archive));
  }
  ~ZipPartStream() override { zip_fclose(file_); }
  ZipPartStream(const ZipPartStream&) = delete;
  ZipPartStream& operator=(const ZipPartStream&) = delete;

  size_t Read(char* buffer, size_t capacity) override {
    const zip_int64_t n = zip_fread(file_, buffer, capacity);
    if (n < 0) throw ZipError(name_ + ": " + zip_file_strerror(file_));
    read_ += static_cast<zip_uint64_t>(n);
    if (read_ > limit_) {
      throw PartTooLarge("частта " + name_ + " се разгъва до повече от " +
                         std::to_string(ZipArchive::kMaxRatio) +
                         " пъти размера си в архива (ZIP бомба)");
    }
    return static_cast<size_t>(n);
  }

 private:
  std::string name_;
  zip_file_t* file_ = nullptr;
  zip_uint64_t limit_ = 0;
  zip_uint64_t read_ = 0;
};

}  // namespace

std::unique_ptr<PartStream> PartSource::Open(const std::string& name) const {
  return std::make_unique<MemoryStream>(Read(name));
}

uint64_t PartSource::DeclaredSize(const std::string& name) const { return Read(name).size(); }

std::unique_ptr<ZipArchive> ZipArchive::OpenFile(const std::string& path) {
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
  if (archive == nullptr) throw ZipError(Reason(code));
  return std::unique_ptr<ZipArchive>(new ZipArchive(archive));
}

std::unique_ptr<ZipArchive> ZipArchive::OpenMemory(const void* data, size_t size) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(data, size, 0, &error);
  zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
  if (archive == nullptr) {
    std::string reason = zip_error_strerror(&error);
    zip_error_fini(&error);
    zip_source_free(source);
    throw ZipError(reason);
  }
  zip_error_fini(&error);
  return std::unique_ptr<ZipArchive>(new ZipArchive(archive));
}

ZipArchive::~ZipArchive() { zip_discard(zip_); }

bool ZipArchive::Contains(const std::string& name) const {
  return zip_name_locate(zip_, name.c_str(), ZIP_FL_NOCASE) >= 0;
}

std::string ZipArchive::Read(const std::string& name) const {
  ZipPartStream stream(zip_, name);
  std::string content;
  char buffer[65536];
  while (const size_t n = stream.Read(buffer, sizeof buffer)) {
    if (content.size() + n > kMaxWholePart) {
      throw PartTooLarge("частта " + name + " е по-голяма от " + MiB(kMaxWholePart));
    }
    content.append(buffer, n);
  }
  return content;
}

std::unique_ptr<PartStream> ZipArchive::Open(const std::string& name) const {
  return std::make_unique<ZipPartStream>(zip_, name);
}

uint64_t ZipArchive::DeclaredSize(const std::string& name) const {
  const zip_int64_t index = zip_name_locate(zip_, name.c_str(), ZIP_FL_NOCASE);
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (index < 0 || zip_stat_index(zip_, static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
      !(stat.valid & ZIP_STAT_SIZE))
    return 0;
  return stat.size;
}

}  // namespace zrv::workbook
