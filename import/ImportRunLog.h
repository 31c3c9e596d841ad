#pragma once
// The log file of an import run: the error list saved beside the workbook's
// name when the run ends, so that the lines survive the window.

#include <string>
#include <vector>

#include "common/Dates.h"

namespace zrv::import {

// "log_" + the workbook's file name without its folder (extension kept) + "_" +
// the moment as a day number in general form ("." decimal point, up to 15
// significant digits) + ".txt": contracts.xls at 39421.6543287037 gives
// "log_contracts.xls_39421.6543287037.txt".
std::string LogFileName(const std::string& workbookPath, TDate moment);

// Writes the lines in Windows-1251, each ended by CR LF, to `path`, replacing a
// file of that name. A character Windows-1251 has no code for is written as
// "?". Throws zrv::Error naming the file when it cannot be written.
void WriteLogFile(const std::string& path, const std::vector<std::string>& lines);

}  // namespace zrv::import
