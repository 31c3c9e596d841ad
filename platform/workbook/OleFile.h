#pragma once
// One stream of an OLE2 compound file (the container of .xls workbooks), read
// from the whole file held in memory. Every sector number, chain and size is
// checked against the file, so a damaged or hostile file gives an error, never
// a read outside it or an endless chain.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zrv::workbook {

class OleError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The content of the first stream whose name is one of `names` (ASCII, compared
// without regard to case), tried in the order given. Throws OleError when the
// container is damaged or holds no such stream.
std::string ReadOleStream(std::string_view file,
                          const std::vector<std::string>& names);

// True when the container has a stream of that name (used to recognise
// encrypted packages).
bool HasOleStream(std::string_view file, const std::string& name);

}  // namespace zrv::workbook
