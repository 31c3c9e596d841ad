#include "import/ImportRunLog.h"

#include <cerrno>
#include <cstdio>

#include "common/Error.h"
#include "common/SystemErrorText.h"
#include "common/Text.h"
#include "common/Utf8.h"

namespace zrv::import {

namespace {

constexpr const char* kCannotWrite = "Лог файлът не може да се запише в ";

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
  const std::string name =
      slash == std::string::npos ? workbookPath : workbookPath.substr(slash + 1);
  return "log_" + name + "_" + Format("%.15g", moment) + ".txt";
}

void WriteLogFile(const std::string& path, const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += ToCp1251Lossy(line) + "\r\n";
  // A C stream, so that errno names the reason of a failed open, write or
  // close (a full disk shows only when the buffer is flushed).
  bool written = false;
  int error = EIO;
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (!written) error = errno;
    if (std::fclose(file) != 0 && written) {
      written = false;
      error = errno;
    }
  } else {
    error = errno;
  }
  if (!written) throw Error(kCannotWrite + path + ": " + SystemErrorText(error) + ".");
}

}  // namespace zrv::import
