#pragma once
// A query bound to no database: it keeps its SQL text and parameters, has no
// columns, and every attempt to run it fails with DbError.

#include <string>

#include "platform/db/Database.h"

namespace zrv::app {

class DetachedQuery : public db::Query {
 public:
  const std::string& DatabaseName() const override { return databaseName_; }
  void SetSQL(const std::string& sql) override { sql_ = sql; }
  const std::string& SQL() const override { return sql_; }

  void SetInteger(const std::string&, int32_t) override {}
  void SetSmallInt(const std::string&, int16_t) override {}
  void SetString(const std::string&, const std::string&) override {}
  void SetFloat(const std::string&, double) override {}
  void SetDateTime(const std::string&, double) override {}
  void SetNull(const std::string&) override {}

  void Execute() override;
  void Open() override;
  void Close() override {}
  bool IsOpen() const override { return false; }
  void First() override;
  void Next() override;
  void Last() override;
  bool Eof() const override { return true; }
  int RecordCount() const override { return 0; }

  int FieldCount() const override { return 0; }
  const db::Field& FieldAt(int index) const override;
  const db::Field& FieldByName(const std::string& name) const override;
  const db::Field* FindField(const std::string&) const override { return nullptr; }

 private:
  std::string databaseName_;
  std::string sql_;
};

}  // namespace zrv::app
