#include "platform/db/firebird/FbCharsetHint.h"

#include <system_error>

#include "platform/db/firebird/FbEngineRoot.h"

namespace zrv::db::fb {

namespace {
const char kInFolder[] =
    "Наборите знаци на Firebird (intl/fbintl.conf) липсват в папката на "
    "Firebird ";
const char kNoFolder[] = "Папката на Firebird с наборите знаци (intl/fbintl.conf) не е намерена";
const char kHowToSet[] =
    ". Задайте папката с променливата FIREBIRD: папката с firebird.conf, "
    "firebird.msg и intl/";
const char kForExample[] = ", например ";
const char kCharsetFile[] = "intl/fbintl.conf";
}  // namespace

std::string CharsetHint() {
  const EngineRootClues clues = ThisProcessClues();
  const auto root = FindEngineRoot(clues);
  std::string hint = (root ? kInFolder + root->string() : std::string(kNoFolder)) + kHowToSet;
  // A package's folder that has them, when there is one.
  for (const auto& folder : clues.packageRoots) {
    std::error_code error;
    if (std::filesystem::is_regular_file(folder / kCharsetFile, error)) {
      hint += kForExample + folder.string();
      break;
    }
  }
  return hint + ".";
}

}  // namespace zrv::db::fb
