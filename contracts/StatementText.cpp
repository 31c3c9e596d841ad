#include "contracts/StatementText.h"

#include "common/Error.h"
#include "common/Text.h"

namespace zrv::contracts {

void RequireStorableText(const char* what, const std::string& text) {
  if (!FitsTextColumn(text, std::string::npos)) {
    throw Error(std::string("Стойността на ") + what +
                " съдържа знак, който не може да се запише в БД (Windows-1251).");
  }
}

bool FitsTextColumn(const std::string& text, size_t maxChars) {
  std::string cp1251;
  return text.find('\0') == std::string::npos && TryUtf8ToCp1251(text, cp1251) &&
         cp1251.size() <= maxChars;
}

const std::string& StorableText(const char* column, const std::string& text) {
  RequireStorableText(column, text);
  return text;
}

}  // namespace zrv::contracts
