#pragma once
// The streams of an OLE2 compound file (the container of .xls workbooks), read
// from the file as they are asked for. Every sector number, chain and size is
// checked against the file when the container is opened, so a damaged or
// hostile file gives an error, never a read outside it or an endless chain.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/workbook/ByteSource.h"

namespace zrv::workbook {

class OleError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class OleContainer {
 public:
  // Reads the header, the sector table and the directory of `file`. Throws
  // OleError when the container is damaged, FileReadError when the file
  // cannot be read.
  explicit OleContainer(std::shared_ptr<const ByteSource> file);

  // True when the container has a stream of that name (ASCII, compared
  // without regard to case).
  bool Has(const std::string& name) const;

  // The first stream whose name is one of `names`, tried in the order given.
  // A stream in regular sectors is read from the file as it is asked for (it
  // keeps the file); one in the mini stream, smaller than the container's
  // cut-off (4,096 bytes as written by spreadsheet applications), is read
  // whole. Throws OleError when there is no such stream or its chain is
  // broken.
  std::shared_ptr<const ByteSource> Open(const std::vector<std::string>& names) const;

  struct Entry {
    std::string name;  // lower-case ASCII; other characters as '?'
    int type = 0;      // 1 storage, 2 stream, 5 root
    uint32_t start = 0;
    uint64_t size = 0;
  };

 private:
  std::string Sector(uint32_t index) const;
  std::vector<uint32_t> ChainSectors(const std::vector<uint32_t>& table, uint32_t start,
                                     uint64_t size, size_t unit, size_t units) const;
  std::string ReadChain(uint32_t start, uint64_t size) const;
  void ReadFat();
  void ReadDirectory();
  std::string ReadMini(uint32_t start, uint64_t size) const;

  std::shared_ptr<const ByteSource> file_;
  std::string header_;
  size_t sectorSize_ = 512;
  size_t sectors_ = 0;
  uint32_t miniCutoff_ = 4096;
  std::vector<uint32_t> fat_;
  std::vector<Entry> entries_;
};

// The whole content of the first stream named one of `names` in a container
// held in memory. Throws OleError as OleContainer does.
std::string ReadOleStream(std::string_view file, const std::vector<std::string>& names);

// True when a container held in memory has a stream of that name (used to
// recognise encrypted packages).
bool HasOleStream(std::string_view file, const std::string& name);

}  // namespace zrv::workbook
