#pragma once
// Turning the engine's status vector into the program's DbError.

#include <ibase.h>

#include <string>

namespace zrv::db::fb {

// Every line the engine has for the error in the status vector, joined by line
// breaks.
std::string StatusMessage(const ISC_STATUS* status);

// Throws DbError carrying StatusMessage when the status vector reports an
// error.
void Check(const ISC_STATUS* status);

}  // namespace zrv::db::fb
