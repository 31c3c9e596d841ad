#include "platform/db/firebird/FbStatement.h"

#include <cstring>

#include "platform/db/Database.h"
#include "platform/db/firebird/FbDates.h"
#include "platform/db/firebird/FbStatus.h"

namespace zrv::db::fb {

namespace {

constexpr unsigned short kDialect = SQL_DIALECT_V5;
constexpr short kCharsetUtf8 = 4;
constexpr long kEndOfCursor = 100;

struct BoundParam {
  std::vector<int64_t> buffer;
  short null = 0;
};

char* Bytes(std::vector<int64_t>& buffer, size_t size) {
  buffer.assign((size + sizeof(int64_t) - 1) / sizeof(int64_t) + 1, 0);
  return reinterpret_cast<char*>(buffer.data());
}

void Bind(XSQLVAR& var, const Param* param, BoundParam& bound) {
  var.sqlind = &bound.null;
  var.sqlscale = 0;
  const Param::Kind kind = param ? param->kind : Param::Kind::Null;
  switch (kind) {
    case Param::Kind::Null:
      var.sqltype = static_cast<short>((var.sqltype & ~1) | 1);
      var.sqldata = Bytes(bound.buffer, static_cast<size_t>(var.sqllen) + 2);
      bound.null = -1;
      return;
    case Param::Kind::Integer:
      var.sqltype = SQL_LONG + 1;
      var.sqllen = sizeof(ISC_LONG);
      var.sqldata = Bytes(bound.buffer, var.sqllen);
      std::memcpy(var.sqldata, &param->integer, sizeof(ISC_LONG));
      return;
    case Param::Kind::SmallInt: {
      var.sqltype = SQL_SHORT + 1;
      var.sqllen = sizeof(ISC_SHORT);
      var.sqldata = Bytes(bound.buffer, var.sqllen);
      ISC_SHORT value = static_cast<ISC_SHORT>(param->integer);
      std::memcpy(var.sqldata, &value, sizeof value);
      return;
    }
    case Param::Kind::String:
      if (param->text.size() > 32765) throw DbError("A text parameter is longer than 32765 bytes.");
      var.sqltype = SQL_TEXT + 1;
      var.sqlsubtype = kCharsetUtf8;
      var.sqllen = static_cast<short>(param->text.size());
      var.sqldata = Bytes(bound.buffer, param->text.size());
      std::memcpy(var.sqldata, param->text.data(), param->text.size());
      return;
    case Param::Kind::Float:
      var.sqltype = SQL_DOUBLE + 1;
      var.sqllen = sizeof(double);
      var.sqldata = Bytes(bound.buffer, var.sqllen);
      std::memcpy(var.sqldata, &param->real, sizeof(double));
      return;
    case Param::Kind::DateTime: {
      var.sqltype = SQL_TIMESTAMP + 1;
      var.sqllen = sizeof(ISC_TIMESTAMP);
      var.sqldata = Bytes(bound.buffer, var.sqllen);
      ISC_TIMESTAMP value = ToTimestamp(param->real);
      std::memcpy(var.sqldata, &value, sizeof value);
      return;
    }
  }
}

// A value of type T from a column buffer (which need not be aligned for T).
template <typename T>
T Read(const char* data) {
  T value;
  std::memcpy(&value, data, sizeof value);
  return value;
}

std::string TrimTrailingBlanks(const char* data, size_t size) {
  while (size > 0 && data[size - 1] == ' ') --size;
  return std::string(data, size);
}

}  // namespace

Statement::Sqlda Statement::NewSqlda(int count) {
  if (count < 1) count = 1;
  auto* sqlda = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(count)));
  if (!sqlda) throw std::bad_alloc();
  sqlda->version = SQLDA_VERSION1;
  sqlda->sqln = static_cast<short>(count);
  return Sqlda(sqlda);
}

Statement::Statement(isc_db_handle* db, isc_tr_handle* tr, const std::string& sql) : db_(db) {
  ISC_STATUS_ARRAY status;
  isc_dsql_allocate_statement(status, db_, &handle_);
  Check(status);
  out_ = NewSqlda(16);
  isc_dsql_prepare(status, tr, &handle_, 0, sql.c_str(), kDialect, out_.get());
  if (status[0] == 1 && status[1]) {
    const std::exception_ptr error = StatusError(status);
    isc_dsql_free_statement(status, &handle_, DSQL_drop);
    std::rethrow_exception(error);
  }
  try {
    DescribeColumns();
    DescribeParams();
    ReadStatementType();
  } catch (...) {
    isc_dsql_free_statement(status, &handle_, DSQL_drop);
    throw;
  }
}

Statement::~Statement() {
  ISC_STATUS_ARRAY status;
  if (handle_) isc_dsql_free_statement(status, &handle_, DSQL_drop);
}

void Statement::DescribeColumns() {
  ISC_STATUS_ARRAY status;
  if (out_->sqld > out_->sqln) {
    out_ = NewSqlda(out_->sqld);
    isc_dsql_describe(status, &handle_, kDialect, out_.get());
    Check(status);
  }
  AllocateColumnBuffers();
}

void Statement::AllocateColumnBuffers() {
  const int count = out_->sqld;
  columnBuffers_.assign(count, {});
  columnNulls_.assign(count, 0);
  columnNames_.clear();
  for (int i = 0; i < count; ++i) {
    XSQLVAR& var = out_->sqlvar[i];
    size_t size = static_cast<size_t>(var.sqllen) + ((var.sqltype & ~1) == SQL_VARYING ? 2 : 0);
    var.sqldata = Bytes(columnBuffers_[i], size);
    var.sqlind = &columnNulls_[i];
    columnNames_.emplace_back(var.aliasname, var.aliasname_length);
  }
}

void Statement::DescribeParams() {
  ISC_STATUS_ARRAY status;
  in_ = NewSqlda(16);
  isc_dsql_describe_bind(status, &handle_, kDialect, in_.get());
  Check(status);
  if (in_->sqld > in_->sqln) {
    in_ = NewSqlda(in_->sqld);
    isc_dsql_describe_bind(status, &handle_, kDialect, in_.get());
    Check(status);
  }
}

void Statement::ReadStatementType() {
  ISC_STATUS_ARRAY status;
  const char items[] = {isc_info_sql_stmt_type};
  char buffer[16];
  isc_dsql_sql_info(status, &handle_, sizeof items, items, sizeof buffer, buffer);
  Check(status);
  if (buffer[0] != isc_info_sql_stmt_type)
    throw DbError("The engine did not report the statement type.");
  short length = static_cast<short>(isc_vax_integer(buffer + 1, 2));
  type_ = static_cast<int>(isc_vax_integer(buffer + 3, length));
}

bool Statement::ReturnsRows() const {
  return type_ == isc_info_sql_stmt_select || type_ == isc_info_sql_stmt_select_for_upd;
}

void Statement::Run(isc_tr_handle* tr, const std::vector<const Param*>& params,
                    std::vector<Row>& rows) {
  ISC_STATUS_ARRAY status;
  std::vector<BoundParam> bound(ParamCount());
  for (size_t i = 0; i < bound.size(); ++i) {
    Bind(in_->sqlvar[i], i < params.size() ? params[i] : nullptr, bound[i]);
  }
  XSQLDA* in = ParamCount() > 0 ? in_.get() : nullptr;

  if (type_ == isc_info_sql_stmt_exec_procedure && out_->sqld > 0) {
    isc_dsql_execute2(status, tr, &handle_, kDialect, in, out_.get());
    Check(status);
    rows.push_back(FetchedRow(tr));
    return;
  }
  isc_dsql_execute(status, tr, &handle_, kDialect, in);
  Check(status);
  if (!ReturnsRows()) return;

  try {
    while (true) {
      ISC_STATUS fetched = isc_dsql_fetch(status, &handle_, kDialect, out_.get());
      if (fetched == kEndOfCursor) break;
      Check(status);
      rows.push_back(FetchedRow(tr));
    }
  } catch (...) {
    ISC_STATUS_ARRAY ignored;
    isc_dsql_free_statement(ignored, &handle_, DSQL_close);
    throw;
  }
  isc_dsql_free_statement(status, &handle_, DSQL_close);
  Check(status);
}

Row Statement::FetchedRow(isc_tr_handle* tr) {
  Row row;
  row.reserve(out_->sqld);
  for (int i = 0; i < out_->sqld; ++i) row.push_back(ColumnValue(out_->sqlvar[i], tr));
  return row;
}

Value Statement::ColumnValue(const XSQLVAR& var, isc_tr_handle* tr) {
  Value value;
  if ((var.sqltype & 1) && *var.sqlind < 0) return value;
  const char* data = var.sqldata;
  auto integer = [&](int64_t v) {
    value.kind = Value::Kind::Integer;
    value.integer = v;
    value.scale = var.sqlscale;
  };
  auto dateTime = [&](double dayNumber) {
    value.kind = Value::Kind::DateTime;
    value.real = dayNumber;
  };
  switch (var.sqltype & ~1) {
    case SQL_TEXT:
      value.kind = Value::Kind::Text;
      value.text = TrimTrailingBlanks(data, static_cast<size_t>(var.sqllen));
      break;
    case SQL_VARYING:
      value.kind = Value::Kind::Text;
      value.text.assign(data + 2, static_cast<size_t>(Read<short>(data)));
      break;
    case SQL_SHORT:
      integer(Read<ISC_SHORT>(data));
      break;
    case SQL_LONG:
      integer(Read<ISC_LONG>(data));
      break;
    case SQL_INT64:
      integer(Read<ISC_INT64>(data));
      break;
    case SQL_FLOAT:
      value.kind = Value::Kind::Float;
      value.real = Read<float>(data);
      break;
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      value.kind = Value::Kind::Float;
      value.real = Read<double>(data);
      break;
    case SQL_TIMESTAMP: {
      auto v = Read<ISC_TIMESTAMP>(data);
      dateTime(FromTimestamp(v.timestamp_date, v.timestamp_time));
      break;
    }
    case SQL_TYPE_DATE:
      dateTime(FromTimestamp(Read<ISC_DATE>(data), 0));
      break;
    case SQL_TYPE_TIME:
      dateTime(FromTimestamp(kDayNumberOffset, Read<ISC_TIME>(data)));
      break;
    case SQL_BOOLEAN:
      value.kind = Value::Kind::Boolean;
      value.integer = static_cast<unsigned char>(data[0]) != 0;
      break;
    case SQL_BLOB:
      value.kind = Value::Kind::Text;
      value.text = ReadBlob(Read<ISC_QUAD>(data), tr);
      break;
    case SQL_NULL:
      break;
    default:
      throw DbError("Column " + std::string(var.aliasname, var.aliasname_length) +
                    " has a type the program cannot read (" + std::to_string(var.sqltype) + ").");
  }
  return value;
}

std::string Statement::ReadBlob(ISC_QUAD id, isc_tr_handle* tr) {
  ISC_STATUS_ARRAY status;
  isc_blob_handle blob = 0;
  isc_open_blob2(status, db_, tr, &blob, &id, 0, nullptr);
  Check(status);
  std::string text;
  char segment[8192];
  while (true) {
    unsigned short length = 0;
    ISC_STATUS result = isc_get_segment(status, &blob, &length, sizeof segment, segment);
    if (result != 0 && result != isc_segment) break;
    text.append(segment, length);
  }
  bool failed = status[1] != 0 && status[1] != isc_segstr_eof && status[1] != isc_segment;
  const std::exception_ptr error = failed ? StatusError(status) : nullptr;
  isc_close_blob(status, &blob);
  if (error) std::rethrow_exception(error);
  return text;
}

}  // namespace zrv::db::fb
