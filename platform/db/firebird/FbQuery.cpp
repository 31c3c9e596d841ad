#include "platform/db/firebird/FbQuery.h"

#include "platform/db/firebird/NamedParams.h"

namespace zrv::db::fb {

namespace {
const char kNotOpen[] = "The query is not open.";
const char kNoSql[] = "The query has no SQL text.";
}  // namespace

const Value& FbField::Current() const {
  static const Value kNull;
  const Value* value = query_.CurrentValue(index_);
  return value ? *value : kNull;
}

bool FbField::IsNull() const { return Current().kind == Value::Kind::Null; }
std::string FbField::AsString() const { return ValueAsString(Current()); }
int32_t FbField::AsInteger() const { return ValueAsInteger(Current()); }
double FbField::AsFloat() const { return ValueAsFloat(Current()); }
double FbField::AsDateTime() const { return ValueAsDateTime(Current()); }

void FbQuery::SetSQL(const std::string& sql) {
  Close();
  params_.clear();
  sql_ = sql;
}

void FbQuery::Set(const std::string& param, Param value) {
  params_[UpperName(param)] = std::move(value);
}

void FbQuery::SetInteger(const std::string& param, int32_t value) {
  Set(param, Param{Param::Kind::Integer, value, 0, {}});
}

void FbQuery::SetSmallInt(const std::string& param, int16_t value) {
  Set(param, Param{Param::Kind::SmallInt, value, 0, {}});
}

void FbQuery::SetString(const std::string& param, const std::string& value) {
  Set(param, Param{Param::Kind::String, 0, 0, value});
}

void FbQuery::SetFloat(const std::string& param, double value) {
  Set(param, Param{Param::Kind::Float, 0, value, {}});
}

void FbQuery::SetDateTime(const std::string& param, double value) {
  Set(param, Param{Param::Kind::DateTime, 0, value, {}});
}

void FbQuery::SetNull(const std::string& param) { Set(param, Param{}); }

void FbQuery::Run(std::vector<Row>& rows, std::vector<std::string>& columns) {
  if (sql_.empty()) throw DbError(kNoSql);
  session_->RequireConnected();
  if (transaction_)
    session_->RunIn(transaction_, sql_, params_, rows, columns);
  else
    session_->Run(sql_, params_, rows, columns);
}

void FbQuery::Execute() {
  Close();
  std::vector<Row> rows;
  std::vector<std::string> columns;
  Run(rows, columns);
}

void FbQuery::Open() {
  Close();
  std::vector<std::string> columns;
  Run(rows_, columns);
  for (size_t i = 0; i < columns.size(); ++i) {
    fields_.push_back(std::make_unique<FbField>(*this, static_cast<int>(i), columns[i]));
  }
  open_ = true;
  First();
}

void FbQuery::Close() {
  open_ = false;
  eof_ = true;
  position_ = 0;
  rows_.clear();
  fields_.clear();
}

void FbQuery::First() {
  if (!open_) throw DbError(kNotOpen);
  position_ = 0;
  eof_ = rows_.empty();
}

// Past the last row the query stays on that row with Eof set, so its columns
// still read.
void FbQuery::Next() {
  if (!open_) throw DbError(kNotOpen);
  if (position_ + 1 < rows_.size()) {
    ++position_;
  } else {
    eof_ = true;
  }
}

void FbQuery::Last() {
  if (!open_) throw DbError(kNotOpen);
  position_ = rows_.empty() ? 0 : rows_.size() - 1;
  eof_ = rows_.empty();
}

const Value* FbQuery::CurrentValue(int index) const {
  if (!open_ || position_ >= rows_.size()) return nullptr;
  const Row& row = rows_[position_];
  return index >= 0 && static_cast<size_t>(index) < row.size() ? &row[index] : nullptr;
}

const Field& FbQuery::FieldAt(int index) const {
  if (index < 0 || index >= FieldCount()) {
    throw DbError("Field index " + std::to_string(index) + " out of range.");
  }
  return *fields_[index];
}

const Field* FbQuery::FindField(const std::string& name) const {
  const std::string upper = UpperName(name);
  for (const auto& field : fields_) {
    if (UpperName(field->Name()) == upper) return field.get();
  }
  return nullptr;
}

const Field& FbQuery::FieldByName(const std::string& name) const {
  const Field* field = FindField(name);
  if (!field) throw DbError("Field '" + name + "' not found.");
  return *field;
}

}  // namespace zrv::db::fb
