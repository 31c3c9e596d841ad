// The engine's error codes sorted into the kinds the import run tells apart: a
// database that cannot go on stops the run, a lost connection stops it too, and
// only the rest (the row's own data) refuses a row.

#include <gtest/gtest.h>

#include <exception>
#include <string>
#include <vector>

#include "platform/db/Database.h"
#include "platform/db/firebird/FbStatus.h"

namespace zrv::db {
namespace {

enum class Kind { kFailure, kLost, kDuplicate, kBusy, kRow };

Kind KindOf(std::vector<ISC_STATUS> codes) {
  std::vector<ISC_STATUS> status = {isc_arg_gds};
  for (size_t i = 0; i < codes.size(); ++i) {
    if (i > 0) status.push_back(isc_arg_gds);
    status.push_back(codes[i]);
  }
  status.push_back(isc_arg_end);
  try {
    std::rethrow_exception(fb::StatusError(status.data()));
  } catch (const DatabaseFailureError&) {
    return Kind::kFailure;
  } catch (const ConnectionLostError&) {
    return Kind::kLost;
  } catch (const DuplicateKeyError&) {
    return Kind::kDuplicate;
  } catch (const DatabaseBusyError&) {
    return Kind::kBusy;
  } catch (const DbError&) {
    return Kind::kRow;
  }
}

TEST(ErrorKinds, EngineCodesTellTheDatabaseTheConnectionAndTheRowApart) {
  const struct {
    std::vector<ISC_STATUS> codes;
    Kind kind;
  } cases[] = {
      {{isc_io_error, isc_io_write_err}, Kind::kFailure},  // disk full
      {{isc_io_error, isc_io_read_err}, Kind::kFailure},
      {{isc_bug_check}, Kind::kFailure},
      {{isc_db_corrupt}, Kind::kFailure},
      {{isc_gennotdef}, Kind::kFailure},
      {{isc_dsql_error, isc_sqlerr, isc_dsql_relation_err}, Kind::kFailure},
      {{isc_shutdown}, Kind::kFailure},
      {{isc_net_read_err}, Kind::kLost},
      {{isc_network_error}, Kind::kLost},
      {{isc_att_shutdown}, Kind::kLost},  // also an attachment we aborted
      {{isc_unique_key_violation}, Kind::kDuplicate},
      {{isc_io_error, isc_already_opened}, Kind::kBusy},
      {{isc_arith_except, isc_string_truncation}, Kind::kRow},
      {{isc_convert_error}, Kind::kRow},
      {{isc_not_valid}, Kind::kRow},
  };
  for (const auto& c : cases) EXPECT_EQ(KindOf(c.codes), c.kind) << "first code " << c.codes[0];
}

}  // namespace
}  // namespace zrv::db
