#include "platform/workbook/ZipArchive.h"

#include <zip.h>

namespace zrv::workbook {

namespace {

// A worksheet of a million rows is far smaller than this; more is a damaged or
// hostile file.
constexpr zip_uint64_t kMaxPartSize = 1ull << 30;

std::string Reason(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

}  // namespace

std::unique_ptr<ZipArchive> ZipArchive::OpenFile(const std::string& path) {
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
  if (archive == nullptr) throw ZipError(Reason(code));
  return std::unique_ptr<ZipArchive>(new ZipArchive(archive));
}

std::unique_ptr<ZipArchive> ZipArchive::OpenMemory(const void* data,
                                                   size_t size) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(data, size, 0, &error);
  zip_t* archive =
      source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
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
  const zip_int64_t index = zip_name_locate(zip_, name.c_str(), ZIP_FL_NOCASE);
  if (index < 0) throw ZipError("the package has no part " + name);
  zip_file_t* file = zip_fopen_index(zip_, static_cast<zip_uint64_t>(index), 0);
  if (file == nullptr) throw ZipError(name + ": " + zip_strerror(zip_));
  std::string content;
  char buffer[65536];
  for (;;) {
    const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
    if (n < 0) {
      std::string reason = name + ": " + zip_file_strerror(file);
      zip_fclose(file);
      throw ZipError(reason);
    }
    if (n == 0) break;
    if (content.size() + static_cast<size_t>(n) > kMaxPartSize) {
      zip_fclose(file);
      throw ZipError(name + " is too large");
    }
    content.append(buffer, static_cast<size_t>(n));
  }
  zip_fclose(file);
  return content;
}

}  // namespace zrv::workbook
