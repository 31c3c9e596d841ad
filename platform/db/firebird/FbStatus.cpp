#include "platform/db/firebird/FbStatus.h"

#include "platform/db/Database.h"
#include "platform/db/firebird/FbCharsetHint.h"

namespace zrv::db::fb {

std::string StatusMessage(const ISC_STATUS* status) {
  std::string message;
  const ISC_STATUS* cursor = status;
  char line[1024];
  while (fb_interpret(line, sizeof line, &cursor) > 0) {
    if (!message.empty()) message += '\n';
    message += line;
  }
  if (message.empty()) message = "Unknown database error (" + std::to_string(status[1]) + ").";
  return message;
}

namespace {

// Engine codes that mean the attachment cannot be used any more.
constexpr ISC_STATUS kConnectionLostCodes[] = {
    isc_network_error, isc_net_read_err, isc_net_write_err, isc_lost_db_connection,
    isc_conn_lost,     isc_att_shutdown, isc_bad_db_handle};

// Engine codes of the database itself failing, which no row's data causes
// (the statements are fixed texts; a row only gives their parameters), and
// which every later row would meet again.
constexpr ISC_STATUS kDatabaseFailureCodes[] = {
    // The disk: full, failing or not writable; the engine's memory or sort
    // space exhausted.
    isc_io_error, isc_io_create_err, isc_io_open_err, isc_io_close_err, isc_io_read_err,
    isc_io_write_err, isc_io_delete_err, isc_io_access_err, isc_io_32bit_exceeded_err, isc_sort_err,
    isc_virmemexh,
    // A damaged database: consistency checks, bad pages, a file of another
    // format.
    isc_bug_check, isc_db_corrupt, isc_badpage, isc_bad_checksum, isc_page_type_err,
    isc_bad_db_format, isc_wrong_ods, isc_badodsver,
    // A generator, table, column, procedure or function of the schema that is
    // not there.
    isc_gennotdef, isc_dsql_relation_err, isc_dsql_field_err, isc_dsql_procedure_err, isc_funnotdef,
    // The database shut down by its administrator, or shutting down.
    isc_shutdown, isc_shutinprog};

// Engine codes of a write that met another transaction's write.
constexpr ISC_STATUS kConflictCodes[] = {isc_lock_conflict, isc_update_conflict, isc_deadlock,
                                         isc_lock_timeout};

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

bool HasCode(const ISC_STATUS* status, ISC_STATUS code) { return Has(status, code); }

std::exception_ptr StatusError(const ISC_STATUS* status) {
  std::string message = StatusMessage(status);
  // The engine's English line names the character set only; the folder the
  // engine was taken from is the cause and the thing to change.
  if (Has(status, isc_charset_not_installed)) message = CharsetHint() + "\n" + message;
  for (ISC_STATUS code : kConnectionLostCodes) {
    if (Has(status, code)) return std::make_exception_ptr(ConnectionLostError(message));
  }
  if (Has(status, isc_unique_key_violation) || Has(status, isc_no_dup))
    return std::make_exception_ptr(DuplicateKeyError(message));
  for (ISC_STATUS code : kConflictCodes) {
    if (Has(status, code)) return std::make_exception_ptr(ConflictError(message));
  }
  if (Has(status, isc_already_opened)) return std::make_exception_ptr(DatabaseBusyError(message));
  // After the busy file, which the engine reports as an I/O error too.
  for (ISC_STATUS code : kDatabaseFailureCodes) {
    if (Has(status, code)) return std::make_exception_ptr(DatabaseFailureError(message));
  }
  return std::make_exception_ptr(DbError(message));
}

void Check(const ISC_STATUS* status) {
  if (status[0] == 1 && status[1] != 0) std::rethrow_exception(StatusError(status));
}

}  // namespace zrv::db::fb
