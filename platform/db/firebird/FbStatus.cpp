#include "platform/db/firebird/FbStatus.h"

#include "platform/db/Database.h"

namespace zrv::db::fb {

std::string StatusMessage(const ISC_STATUS* status) {
  std::string message;
  const ISC_STATUS* cursor = status;
  char line[1024];
  while (fb_interpret(line, sizeof line, &cursor) > 0) {
    if (!message.empty()) message += '\n';
    message += line;
  }
  if (message.empty())
    message = "Unknown database error (" + std::to_string(status[1]) + ").";
  return message;
}

namespace {

// Engine codes that mean the attachment cannot be used any more.
constexpr ISC_STATUS kConnectionLostCodes[] = {
    isc_network_error,      isc_net_read_err, isc_net_write_err,
    isc_lost_db_connection, isc_conn_lost,    isc_shutdown,
    isc_att_shutdown,       isc_shutinprog,   isc_bad_db_handle};

// Engine codes of a write that met another transaction's write.
constexpr ISC_STATUS kConflictCodes[] = {isc_lock_conflict, isc_update_conflict,
                                         isc_deadlock, isc_lock_timeout};

bool Has(const ISC_STATUS* status, ISC_STATUS code) {
  // The vector is a list of (kind, value) pairs ended by isc_arg_end; every
  // isc_arg_gds pair carries an error code, strings and numbers fill in its
  // text.
  for (const ISC_STATUS* item = status; *item != isc_arg_end; item += 2) {
    if (item[0] == isc_arg_gds && item[1] == code) return true;
    if (item[0] == isc_arg_cstring) ++item;  // length, then the pointer
  }
  return false;
}

}  // namespace

std::exception_ptr StatusError(const ISC_STATUS* status) {
  const std::string message = StatusMessage(status);
  for (ISC_STATUS code : kConnectionLostCodes) {
    if (Has(status, code))
      return std::make_exception_ptr(ConnectionLostError(message));
  }
  if (Has(status, isc_unique_key_violation) || Has(status, isc_no_dup))
    return std::make_exception_ptr(DuplicateKeyError(message));
  for (ISC_STATUS code : kConflictCodes) {
    if (Has(status, code))
      return std::make_exception_ptr(ConflictError(message));
  }
  if (Has(status, isc_already_opened))
    return std::make_exception_ptr(DatabaseBusyError(message));
  return std::make_exception_ptr(DbError(message));
}

void Check(const ISC_STATUS* status) {
  if (status[0] == 1 && status[1] != 0)
    std::rethrow_exception(StatusError(status));
}

}  // namespace zrv::db::fb
