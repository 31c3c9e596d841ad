#include "platform/login/LoginRecord.h"

#include <cstring>

#include "common/Error.h"
#include "common/Text.h"

namespace zrv {

namespace {
const char* const kNotWin1251 = " cannot be written in the Windows-1251 code page.";
}  // namespace

void SetShortString(uint8_t& length, char* chars, size_t capacity, const std::string& utf8,
                    const std::string& what) {
  length = 0;
  std::memset(chars, 0, capacity);
  std::string bytes;
  if (!TryUtf8ToCp1251(Utf8Left(utf8, capacity), bytes)) throw Error(what + kNotWin1251);
  // One byte per character in Windows-1251, so the cut text always fits.
  std::memcpy(chars, bytes.data(), bytes.size());
  length = static_cast<uint8_t>(bytes.size());
}

std::string GetShortString(uint8_t length, const char* chars, size_t capacity) {
  const size_t size = length < capacity ? length : capacity;
  return Cp1251ToUtf8(std::string(chars, size));
}

void ClearLogInfo(TLogInfoRec& record) { std::memset(&record, 0, sizeof record); }

}  // namespace zrv
