#include "platform/workbook/XlsxFile.h"

#include <cerrno>
#include <cstdio>

#include "common/SystemErrorText.h"
#include "platform/workbook/Workbook.h"

namespace zrv::workbook {

namespace {
constexpr const char* kTooManyColumns = "ред има повече клетки, отколкото листът побира";
constexpr const char* kTextTooLong = "текстът на клетка е по-дълъг от 32 767 знака";
constexpr const char* kNoMemory = "няма достатъчно памет";
}  // namespace

// Worded as the message of a workbook that cannot be read.
std::string CannotWrite(const std::string& path, const std::string& reason) {
  return "Работната книга " + path + " не може да бъде записана: " + reason + ".";
}

std::string XlsxErrorReason(lxw_error error, int systemError) {
  switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
      return kNoMemory;
    case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
      return kTooManyColumns;
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
      return kTextTooLong;
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
      return "файлът не може да бъде създаден (" + SystemErrorText(systemError) + ")";
    default:
      return std::string("грешка на libxlsxwriter (") + lxw_strerror(error) + ")";
  }
}

lxw_workbook* NewWorkbook(const std::string& path) {
  lxw_workbook* book = workbook_new(path.c_str());
  if (book == nullptr) throw WorkbookError(CannotWrite(path, kNoMemory));
  return book;
}

void AbandonWorkbook(lxw_workbook* book, const std::string& path, lxw_error error,
                     int systemError) {
  workbook_close(book);  // frees it; the partial file is of no use
  std::remove(path.c_str());
  throw WorkbookError(CannotWrite(path, XlsxErrorReason(error, systemError)));
}

void CloseWorkbook(lxw_workbook* book, const std::string& path) {
  errno = 0;
  const lxw_error error = workbook_close(book);
  if (error != LXW_NO_ERROR) throw WorkbookError(CannotWrite(path, XlsxErrorReason(error, errno)));
}

}  // namespace zrv::workbook
