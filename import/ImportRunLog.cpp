#include "import/ImportRunLog.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "common/Error.h"
#include "common/Text.h"
#include "common/Utf8.h"

namespace zrv::import {

namespace {

// The line in Windows-1251; characters without a code (and malformed bytes)
// become "?".
std::string ToCp1251Lossy(const std::string& line) {
  std::string whole;
  if (TryUtf8ToCp1251(line, whole)) return whole;
  std::string out;
  size_t pos = 0;
  while (pos < line.size()) {
    char32_t cp;
    std::string one, encoded;
    if (!NextCodePoint(line, pos, cp)) {
      ++pos;
      out += '?';
      continue;
    }
    AppendUtf8(one, cp);
    out += TryUtf8ToCp1251(one, encoded) ? encoded : std::string("?");
  }
  return out;
}

}  // namespace

std::string LogFileName(const std::string& workbookPath, TDate moment) {
  const auto slash = workbookPath.find_last_of('/');
  const std::string name = slash == std::string::npos
                               ? workbookPath
                               : workbookPath.substr(slash + 1);
  return "log_" + name + "_" + Format("%.15g", moment) + ".txt";
}

void WriteLogFile(const std::string& path,
                  const std::vector<std::string>& lines) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const auto& line : lines) out << ToCp1251Lossy(line) << "\r\n";
  out.close();
  if (!out)
    throw Error("Cannot write the log file " + path + ": " +
                std::strerror(errno));
}

}  // namespace zrv::import
