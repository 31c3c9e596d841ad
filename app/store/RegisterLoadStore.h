#pragma once
// The statements that fill the registers a new database starts with
// (obsh_tbl, nm_tbl, or any table a register data file names), in a
// transaction the caller gives.

#include <string>
#include <vector>

#include "platform/db/Database.h"

namespace zrv::app {

class RegisterLoadStore {
 public:
  explicit RegisterLoadStore(db::Transaction& tx) : tx_(tx) {}

  // Inserts `rows` into `table` in order, each row's values (as text, which
  // the database converts) going into `columns` in the same order. Every row
  // must have as many values as there are columns; the column names come as
  // the register data file gives them.
  void Insert(const std::string& table, const std::vector<std::string>& columns,
              const std::vector<std::vector<std::string>>& rows) const;

 private:
  db::Transaction& tx_;
};

}  // namespace zrv::app
