#pragma once
// Turning the engine's status vector into the program's DbError.

#include <ibase.h>

#include <exception>
#include <string>

namespace zrv::db::fb {

// Every line the engine has for the error in the status vector, joined by line
// breaks.
std::string StatusMessage(const ISC_STATUS* status);

// True when the status vector carries the engine's error code.
bool HasCode(const ISC_STATUS* status, ISC_STATUS code);

// The DbError for a failed status vector, carrying StatusMessage: a
// DatabaseFailureError, ConnectionLostError, DuplicateKeyError or
// DatabaseBusyError where the engine's codes say so. Taken before a clean-up
// call reuses the vector.
std::exception_ptr StatusError(const ISC_STATUS* status);

// Throws the StatusError when the status vector reports an
// error.
void Check(const ISC_STATUS* status);

}  // namespace zrv::db::fb
