#pragma once
// Opening and closing an .xlsx written with libxlsxwriter, and the messages
// when that fails.

#include <xlsxwriter.h>

#include <string>

namespace zrv::workbook {

// "Работната книга PATH не може да бъде записана: REASON."
std::string CannotWrite(const std::string& path, const std::string& reason);

// The reason of a libxlsxwriter error; `systemError` is errno right after it.
std::string XlsxErrorReason(lxw_error error, int systemError);

// A new workbook to be written to `path`; throws WorkbookError when
// libxlsxwriter cannot make one.
lxw_workbook* NewWorkbook(const std::string& path);

// Closes (and so frees) a workbook whose writing failed, removes its partial
// file and throws WorkbookError with the reason.
[[noreturn]] void AbandonWorkbook(lxw_workbook* book, const std::string& path, lxw_error error,
                                  int systemError);

// Closes a written workbook; throws WorkbookError when the file cannot be
// finished.
void CloseWorkbook(lxw_workbook* book, const std::string& path);

}  // namespace zrv::workbook
