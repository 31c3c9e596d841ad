#pragma once
// A query on a Firebird connection. Open reads the whole result into memory, so
// the cursor and the statement are free again at once and First, Last and
// RecordCount need no engine.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/Database.h"
#include "platform/db/firebird/FbSession.h"

namespace zrv::db::fb {

class FbQuery;

// A column of the query's current row; reads null when there is no current row.
class FbField : public Field {
 public:
  FbField(const FbQuery& query, int index, std::string name)
      : query_(query), index_(index), name_(std::move(name)) {}
  const std::string& Name() const override { return name_; }
  bool IsNull() const override;
  std::string AsString() const override;
  int32_t AsInteger() const override;
  double AsFloat() const override;
  double AsDateTime() const override;

 private:
  const Value& Current() const;

  const FbQuery& query_;
  int index_;
  std::string name_;
};

class FbQuery : public Query {
 public:
  // A query in the connection's open transaction, or with `transaction` in
  // that transaction of a Transaction object (which must outlive the query).
  explicit FbQuery(std::shared_ptr<Session> session, isc_tr_handle* transaction = nullptr)
      : session_(std::move(session)), transaction_(transaction) {}

  const std::string& DatabaseName() const override { return databaseName_; }
  void SetSQL(const std::string& sql) override;
  const std::string& SQL() const override { return sql_; }

  void SetInteger(const std::string& param, int32_t value) override;
  void SetSmallInt(const std::string& param, int16_t value) override;
  void SetString(const std::string& param, const std::string& value) override;
  void SetFloat(const std::string& param, double value) override;
  void SetDateTime(const std::string& param, double value) override;
  void SetNull(const std::string& param) override;

  void Execute() override;
  void Open() override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  void First() override;
  void Next() override;
  void Last() override;
  bool Eof() const override { return eof_; }
  int RecordCount() const override { return static_cast<int>(rows_.size()); }

  int FieldCount() const override { return static_cast<int>(fields_.size()); }
  const Field& FieldAt(int index) const override;
  const Field& FieldByName(const std::string& name) const override;
  const Field* FindField(const std::string& name) const override;

  // The value of a column in the current row; nullptr when there is no current
  // row.
  const Value* CurrentValue(int index) const;

 private:
  void Set(const std::string& param, Param value);
  void Run(std::vector<Row>& rows, std::vector<std::string>& columns);

  std::shared_ptr<Session> session_;
  isc_tr_handle* transaction_;
  std::string databaseName_ = kDatabaseName;
  std::string sql_;
  NamedValues params_;
  bool open_ = false;
  bool eof_ = true;
  size_t position_ = 0;
  std::vector<Row> rows_;
  std::vector<std::unique_ptr<FbField>> fields_;
};

}  // namespace zrv::db::fb
