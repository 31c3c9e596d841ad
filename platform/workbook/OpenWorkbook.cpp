#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "common/SystemErrorText.h"
#include "platform/workbook/CellAddress.h"
#include "platform/workbook/Readers.h"
#include "platform/workbook/Workbook.h"
#include "platform/workbook/ZipArchive.h"

namespace zrv::workbook {

namespace {

const unsigned char kOleMagic[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
const unsigned char kZipMagic[] = {'P', 'K', 0x03, 0x04};
const unsigned char kEmptyZipMagic[] = {'P', 'K', 0x05, 0x06};

// A used range larger than this (a million rows of 128 columns) comes from a
// stray cell far beyond the data, such as a lone XFD1048576; reading or
// printing that many empty cells would take hours.
constexpr uint64_t kMaxUsedCells = uint64_t{1} << 27;

constexpr const char* kNoFile = "файлът не съществува";
constexpr const char* kDirectory = "това е папка, а не файл";
constexpr const char* kFifo = "това е именуван канал (FIFO), а не файл";
constexpr const char* kNotRegular = "това не е обикновен файл";
constexpr const char* kLinkLoop = "пътят води до цикъл от символни връзки";
constexpr const char* kNoPermission = "няма права за четене на файла";
constexpr const char* kNotWorkbook = "файлът не е работна книга .xls, .xlsx или .ods";

// Why the file cannot be read as a workbook, "" when it can; its first bytes
// into `head`. Opens without blocking, so a FIFO is refused, not waited on.
std::string ReadHead(const std::string& path, unsigned char (&head)[8]) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    switch (errno) {
      case ENOENT:
      case ENOTDIR:
        return kNoFile;
      case ELOOP:
        return kLinkLoop;
      case EACCES:
      case EPERM:
        return kNoPermission;
      default:
        return std::string("файлът не може да бъде отворен (") + SystemErrorText(errno) + ")";
    }
  }
  struct stat info {};
  std::string problem;
  if (fstat(fd, &info) != 0) {
    problem = std::string("файлът не може да бъде отворен (") + SystemErrorText(errno) + ")";
  } else if (S_ISDIR(info.st_mode)) {
    problem = kDirectory;
  } else if (S_ISFIFO(info.st_mode)) {
    problem = kFifo;
  } else if (!S_ISREG(info.st_mode)) {
    problem = kNotRegular;
  } else if (read(fd, head, sizeof head) < 0) {
    problem = std::string("файлът не може да бъде прочетен (") + SystemErrorText(errno) + ")";
  }
  close(fd);
  return problem;
}

}  // namespace

std::string CannotRead(const std::string& path, const std::string& reason) {
  return "Работната книга " + path + " не може да бъде прочетена: " + reason + ".";
}

bool HasWorkbookSignature(std::string_view firstBytes) {
  auto startsWith = [firstBytes](const unsigned char* magic, size_t size) {
    return firstBytes.size() >= size && std::memcmp(firstBytes.data(), magic, size) == 0;
  };
  return startsWith(kOleMagic, sizeof kOleMagic) || startsWith(kZipMagic, sizeof kZipMagic) ||
         startsWith(kEmptyZipMagic, sizeof kEmptyZipMagic);
}

std::string WorkbookFileProblem(const std::string& path) {
  unsigned char head[8] = {};
  const std::string problem = ReadHead(path, head);
  return problem.empty() ? "" : CannotRead(path, problem);
}

std::unique_ptr<Worksheet> OpenFirstWorksheet(const std::string& path) {
  unsigned char head[8] = {};
  const std::string problem = ReadHead(path, head);
  if (!problem.empty()) throw WorkbookError(CannotRead(path, problem));
  std::unique_ptr<Worksheet> sheet;
  if (std::memcmp(head, kOleMagic, sizeof kOleMagic) == 0) {
    sheet = ReadXlsFile(path);
  } else if (std::memcmp(head, kZipMagic, sizeof kZipMagic) == 0 ||
             std::memcmp(head, kEmptyZipMagic, sizeof kEmptyZipMagic) == 0) {
    const std::shared_ptr<const PartSource> package = OpenPackageFile(path);
    if (IsOdsPackage(*package))
      sheet = ReadOdsPackage(package, path);
    else
      sheet = ReadXlsxPackage(package, path);
  } else {
    throw WorkbookError(CannotRead(path, kNotWorkbook));
  }
  const uint64_t rows = static_cast<uint64_t>(sheet->UsedRowCount());
  const uint64_t columns = static_cast<uint64_t>(sheet->UsedColumnCount());
  if (rows * columns > kMaxUsedCells) {
    throw WorkbookError(
        CannotRead(path, "използваната област A1:" + ColumnLetters(sheet->UsedColumnCount()) +
                             std::to_string(rows) + " е над " + std::to_string(kMaxUsedCells) +
                             " клетки (клетка далеч извън данните)"));
  }
  return sheet;
}

}  // namespace zrv::workbook
