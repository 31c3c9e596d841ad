#include "platform/workbook/TextWorkbookWriter.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>

#include "common/SystemErrorText.h"
#include "platform/workbook/CellAddress.h"
#include "platform/workbook/Workbook.h"

namespace zrv::workbook {

namespace {

constexpr const char* kTooManyRows =
    "редовете са повече, отколкото листът побира";
constexpr const char* kTooManyColumns =
    "ред има повече клетки, отколкото листът побира";
constexpr const char* kTextTooLong =
    "текстът на клетка е по-дълъг от 32 767 знака";
constexpr const char* kNoMemory = "няма достатъчно памет";

// Worded as the message of a workbook that cannot be read.
std::string CannotWrite(const std::string& path, const std::string& reason) {
  return "Работната книга " + path + " не може да бъде записана: " + reason +
         ".";
}

// The reason of a libxlsxwriter error; `systemError` is errno right after it.
std::string Reason(lxw_error error, int systemError) {
  switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
      return kNoMemory;
    case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
      return kTooManyColumns;
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
      return kTextTooLong;
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
      return "файлът не може да бъде създаден (" +
             SystemErrorText(systemError) + ")";
    default:
      return std::string("грешка на libxlsxwriter (") + lxw_strerror(error) +
             ")";
  }
}

}  // namespace

void WriteTextWorkbook(const std::string& path, const TextRows& rows) {
  if (rows.size() > static_cast<size_t>(kMaxRows))
    throw WorkbookError(CannotWrite(path, kTooManyRows));
  lxw_workbook* book = workbook_new(path.c_str());
  if (book == nullptr) throw WorkbookError(CannotWrite(path, kNoMemory));
  lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
  lxw_format* text = workbook_add_format(book);
  lxw_format* wrapped = workbook_add_format(book);
  lxw_error error =
      sheet && text && wrapped ? LXW_NO_ERROR : LXW_ERROR_MEMORY_MALLOC_FAILED;
  if (error == LXW_NO_ERROR) {
    format_set_num_format(text, "@");
    format_set_num_format(wrapped, "@");
    format_set_text_wrap(wrapped);
  }
  for (size_t r = 0; r < rows.size() && error == LXW_NO_ERROR; ++r) {
    const auto& cells = rows[r];
    if (cells.size() > static_cast<size_t>(kMaxColumns)) {
      error = LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;
      break;
    }
    for (size_t c = 0; c < cells.size() && error == LXW_NO_ERROR; ++c) {
      if (cells[c].empty()) continue;
      error = worksheet_write_string(
          sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
          cells[c].c_str(),
          cells[c].find('\n') == std::string::npos ? text : wrapped);
    }
  }
  if (error != LXW_NO_ERROR) {
    workbook_close(book);  // frees it; the partial file is of no use
    std::remove(path.c_str());
    throw WorkbookError(CannotWrite(path, Reason(error, errno)));
  }
  errno = 0;
  error = workbook_close(book);
  if (error != LXW_NO_ERROR)
    throw WorkbookError(CannotWrite(path, Reason(error, errno)));
}

}  // namespace zrv::workbook
