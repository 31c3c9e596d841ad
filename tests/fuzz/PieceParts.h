#pragma once
// Package parts held in memory for the fuzz targets that go past the ZIP
// layer (whose checksums keep mutated packages from reaching the XML). A part
// opened for reading in pieces comes 13 bytes at a time, so the XML reader
// meets every kind of markup split at its buffer's end.

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "platform/workbook/ZipArchive.h"

namespace zrv::fuzz {

class PieceParts : public workbook::PartSource {
 public:
  bool Contains(const std::string& name) const override { return parts.count(name) > 0; }
  std::string Read(const std::string& name) const override {
    auto it = parts.find(name);
    if (it == parts.end()) throw workbook::ZipError("no part " + name);
    return it->second;
  }
  std::unique_ptr<workbook::PartStream> Open(const std::string& name) const override {
    struct Pieces : workbook::PartStream {
      explicit Pieces(std::string text) : text(std::move(text)) {}
      size_t Read(char* buffer, size_t capacity) override {
        const size_t n = std::min({capacity, size_t{13}, text.size() - at});
        std::memcpy(buffer, text.data() + at, n);
        at += n;
        return n;
      }
      std::string text;
      size_t at = 0;
    };
    return std::make_unique<Pieces>(Read(name));
  }

  std::map<std::string, std::string> parts;
};

}  // namespace zrv::fuzz
