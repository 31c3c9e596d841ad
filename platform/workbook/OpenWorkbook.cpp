#include <cstring>
#include <fstream>

#include "platform/workbook/Readers.h"
#include "platform/workbook/Workbook.h"

namespace zrv::workbook {

namespace {

const unsigned char kOleMagic[] = {0xD0, 0xCF, 0x11, 0xE0,
                                   0xA1, 0xB1, 0x1A, 0xE1};
const unsigned char kZipMagic[] = {'P', 'K', 0x03, 0x04};
const unsigned char kEmptyZipMagic[] = {'P', 'K', 0x05, 0x06};

const char kCannotOpen[] = "файлът не съществува или не може да се отвори";

}  // namespace

std::string CannotRead(const std::string& path, const std::string& reason) {
  return "Работната книга " + path + " не може да се прочете: " + reason + ".";
}

std::unique_ptr<Worksheet> OpenFirstWorksheet(const std::string& path) {
  unsigned char head[8] = {};
  {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw WorkbookError(CannotRead(path, kCannotOpen));
    in.read(reinterpret_cast<char*>(head), sizeof head);
  }
  if (std::memcmp(head, kOleMagic, sizeof kOleMagic) == 0) {
    return ReadXlsFile(path);
  }
  if (std::memcmp(head, kZipMagic, sizeof kZipMagic) == 0 ||
      std::memcmp(head, kEmptyZipMagic, sizeof kEmptyZipMagic) == 0) {
    return IsOdsFile(path) ? ReadOdsFile(path) : ReadXlsxFile(path);
  }
  throw WorkbookError(CannotRead(path, "не е работна книга .xls, .xlsx или .ods"));
}

}  // namespace zrv::workbook
