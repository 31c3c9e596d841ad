#pragma once
// What to do when the engine has no character sets: its root folder lacks
// intl/ (a FIREBIRD naming a folder with firebird.conf only, or an engine
// installed without its character-set module), and every statement on a
// WIN1251 column fails with "CHARACTER SET WIN1251 is not installed".

#include <string>

namespace zrv::db::fb {

// A Bulgarian line that names the engine folder this process uses (or says
// that none was found) and how to choose another: $FIREBIRD.
std::string CharsetHint();

}  // namespace zrv::db::fb
