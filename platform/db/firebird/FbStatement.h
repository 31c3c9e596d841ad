#pragma once
// One prepared statement on an attached database: its parameter markers, its
// columns, and a run that binds values and reads every result row into memory.

#include <ibase.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/firebird/FbValue.h"

namespace zrv::db::fb {

using Row = std::vector<Value>;

class Statement {
 public:
  // Prepares the positional statement text in dialect 1 (a transaction is
  // needed to prepare).
  Statement(isc_db_handle* db, isc_tr_handle* tr, const std::string& sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  size_t ParamCount() const { return in_ ? static_cast<size_t>(in_->sqld) : 0; }
  const std::vector<std::string>& ColumnNames() const { return columnNames_; }
  bool IsDdl() const { return type_ == isc_info_sql_stmt_ddl; }
  bool ReturnsRows() const;

  // Runs the statement in the transaction with params[i] bound to marker i
  // (nullptr: null). Result rows, if any, are appended to rows.
  void Run(isc_tr_handle* tr, const std::vector<const Param*>& params, std::vector<Row>& rows);

 private:
  struct FreeSqlda {
    void operator()(XSQLDA* p) const { std::free(p); }
  };
  using Sqlda = std::unique_ptr<XSQLDA, FreeSqlda>;

  static Sqlda NewSqlda(int count);
  void DescribeColumns();
  void DescribeParams();
  void ReadStatementType();
  void AllocateColumnBuffers();
  Row FetchedRow(isc_tr_handle* tr);
  Value ColumnValue(const XSQLVAR& var, isc_tr_handle* tr);
  std::string ReadBlob(ISC_QUAD id, isc_tr_handle* tr);

  isc_db_handle* db_;
  isc_stmt_handle handle_ = 0;
  int type_ = 0;
  Sqlda out_;
  Sqlda in_;
  std::vector<std::vector<int64_t>> columnBuffers_;
  std::vector<short> columnNulls_;
  std::vector<std::string> columnNames_;
};

}  // namespace zrv::db::fb
