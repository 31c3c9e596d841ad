#include "platform/workbook/TextWorkbookWriter.h"

#include <xlsxwriter.h>

#include <cerrno>

#include "platform/workbook/CellAddress.h"
#include "platform/workbook/Workbook.h"
#include "platform/workbook/XlsxFile.h"

namespace zrv::workbook {

namespace {

constexpr const char* kTooManyRows = "редовете са повече, отколкото листът побира";

}  // namespace

void WriteTextWorkbook(const std::string& path, const TextRows& rows) {
  if (rows.size() > static_cast<size_t>(kMaxRows))
    throw WorkbookError(CannotWrite(path, kTooManyRows));
  lxw_workbook* book = NewWorkbook(path);
  lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
  lxw_format* text = workbook_add_format(book);
  lxw_format* wrapped = workbook_add_format(book);
  lxw_error error = sheet && text && wrapped ? LXW_NO_ERROR : LXW_ERROR_MEMORY_MALLOC_FAILED;
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
      error = worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                                     cells[c].c_str(),
                                     cells[c].find('\n') == std::string::npos ? text : wrapped);
    }
  }
  if (error != LXW_NO_ERROR) AbandonWorkbook(book, path, error, errno);
  CloseWorkbook(book, path);
}

}  // namespace zrv::workbook
