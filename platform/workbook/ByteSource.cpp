#include "platform/workbook/ByteSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zrv::workbook {

namespace {

[[noreturn]] void PastTheEnd() { throw FileReadError("a read past the end of the file"); }

class FileBytes final : public ByteSource {
 public:
  FileBytes(int fd, const struct stat& info) : fd_(fd), opened_(info) {}
  ~FileBytes() override { close(fd_); }
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;

  uint64_t Size() const override { return static_cast<uint64_t>(opened_.st_size); }

  void ReadAt(uint64_t offset, size_t count, char* out) const override {
    if (offset > Size() || count > Size() - offset) PastTheEnd();
    struct stat now {};
    if (fstat(fd_, &now) != 0) throw FileReadError(std::string("fstat: ") + std::strerror(errno));
    if (now.st_size != opened_.st_size || now.st_mtim.tv_sec != opened_.st_mtim.tv_sec ||
        now.st_mtim.tv_nsec != opened_.st_mtim.tv_nsec)
      throw FileReadError("the file has changed since it was opened");
    while (count > 0) {
      const ssize_t got = pread(fd_, out, count, static_cast<off_t>(offset));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) throw FileReadError(std::string("read: ") + std::strerror(errno));
      if (got == 0) throw FileReadError("the file ends before its size");
      out += got;
      offset += static_cast<uint64_t>(got);
      count -= static_cast<size_t>(got);
    }
  }

 private:
  int fd_;
  struct stat opened_;
};

class OwnBytes final : public ByteSource {
 public:
  explicit OwnBytes(std::string_view bytes) : bytes_(bytes), view_(bytes_) {}
  OwnBytes(const OwnBytes&) = delete;
  OwnBytes& operator=(const OwnBytes&) = delete;
  uint64_t Size() const override { return view_.Size(); }
  void ReadAt(uint64_t offset, size_t count, char* out) const override {
    view_.ReadAt(offset, count, out);
  }

 private:
  std::string bytes_;
  ViewBytes view_;
};

}  // namespace

void ViewBytes::ReadAt(uint64_t offset, size_t count, char* out) const {
  if (offset > bytes_.size() || count > bytes_.size() - offset) PastTheEnd();
  std::memcpy(out, bytes_.data() + offset, count);
}

std::shared_ptr<const ByteSource> OpenFileBytes(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw FileReadError(std::string("open: ") + std::strerror(errno));
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    throw FileReadError("not a regular file");
  }
  return std::make_shared<FileBytes>(fd, info);
}

std::shared_ptr<const ByteSource> CopyBytes(std::string_view bytes) {
  return std::make_shared<OwnBytes>(bytes);
}

}  // namespace zrv::workbook
