#pragma once
// What identifies a file's content: its size and SHA-256 digest, read once
// from the disk.

#include <cstdint>
#include <string>

namespace zrv::system {

struct FileFacts {
  uint64_t size = 0;
  std::string sha256;  // 64 lower-case hexadecimal digits
};

// Reads the whole file. Throws zrv::Error naming the file when it cannot be
// read.
FileFacts ReadFileFacts(const std::string& path);

// The SHA-256 digest of `bytes` in lower-case hexadecimal.
std::string Sha256Hex(const std::string& bytes);

}  // namespace zrv::system
