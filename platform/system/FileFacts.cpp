#include "platform/system/FileFacts.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "common/Error.h"
#include "common/SystemErrorText.h"

namespace zrv::system {
namespace {

const char* const kCannotRead = "Файлът %s не може да се прочете: %s";
const char* const kDigestFailed = "Неуспешно изчисляване на SHA-256.";
constexpr size_t kChunk = 1 << 16;

struct DigestDeleter {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string Hex(const unsigned char* bytes, unsigned length) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (unsigned i = 0; i < length; ++i) {
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 15];
  }
  return text;
}

// Digests what `read` gives until it gives 0 bytes.
template <typename Read>
std::string Digest(Read read) {
  std::unique_ptr<EVP_MD_CTX, DigestDeleter> context(EVP_MD_CTX_new());
  if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1)
    throw Error(kDigestFailed);
  unsigned char buffer[kChunk];
  for (size_t n; (n = read(buffer, sizeof buffer)) > 0;)
    if (EVP_DigestUpdate(context.get(), buffer, n) != 1) throw Error(kDigestFailed);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned length = 0;
  if (EVP_DigestFinal_ex(context.get(), digest, &length) != 1) throw Error(kDigestFailed);
  return Hex(digest, length);
}

std::string CannotRead(const std::string& path, int error) {
  char text[1024];
  std::snprintf(text, sizeof text, kCannotRead, path.c_str(), SystemErrorText(error).c_str());
  return text;
}

}  // namespace

FileFacts ReadFileFacts(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) throw Error(CannotRead(path, errno));
  FileFacts facts;
  facts.sha256 = Digest([&](unsigned char* buffer, size_t size) {
    const size_t n = std::fread(buffer, 1, size, file.get());
    facts.size += n;
    return n;
  });
  if (std::ferror(file.get())) throw Error(CannotRead(path, EIO));
  return facts;
}

std::string Sha256Hex(const std::string& bytes) {
  size_t offset = 0;
  return Digest([&](unsigned char* buffer, size_t size) {
    const size_t n = std::min(size, bytes.size() - offset);
    std::copy_n(bytes.data() + offset, n, buffer);
    offset += n;
    return n;
  });
}

}  // namespace zrv::system
