#pragma once
// One contract's rows of a query that reads many contracts in contract order:
// a read-only view that stands on the contract's first row and is at its end
// after the contract's last, so that the loaders written for a one-contract
// query (TDocInfo::LoadFrom) read it unchanged.
//
// A view serves one open query for contract after contract, in ascending
// order: Seek moves it to the next contract, passing over the rows of any
// contract between (one not asked for, or rows a loader left unread). Rows the
// view is told to drop are passed over as if they were not there. Columns are
// looked up by name once for all contracts. Read forwards only; the statement
// methods of db::Query throw.

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

#include "platform/db/Database.h"

namespace zrv::state {

class ContractRows : public db::Query {
 public:
  // Tells whether the current row of the query is to be passed over.
  using DropFn = std::function<bool(const db::Query& rows)>;

  // A view of `all` (open, ordered by `keyColumn` ascending) that drops the
  // rows `drop` names (none without it). Both must outlive the view.
  ContractRows(db::Query& all, const std::string& keyColumn, DropFn drop = nullptr);

  // Moves to the rows of `contractId`. Contracts are sought in ascending
  // order: a contract below one sought before has no rows left.
  void Seek(int32_t contractId);
  int32_t ContractId() const { return contractId_; }

  const std::string& DatabaseName() const override;
  const std::string& SQL() const override;
  bool IsOpen() const override { return all_.IsOpen(); }
  // Stays on the contract's first row when nothing was read yet; throws once
  // the view has moved on, since it cannot go back.
  void First() override;
  void Next() override;
  bool Eof() const override;
  // The contract's rows are not counted ahead: the count of the whole query.
  int RecordCount() const override { return all_.RecordCount(); }
  int FieldCount() const override { return all_.FieldCount(); }
  const db::Field& FieldAt(int index) const override { return all_.FieldAt(index); }
  const db::Field& FieldByName(const std::string& name) const override;
  const db::Field* FindField(const std::string& name) const override;

  // A view is read, never run.
  void SetSQL(const std::string& sql) override;
  void SetInteger(const std::string& param, int32_t value) override;
  void SetSmallInt(const std::string& param, int16_t value) override;
  void SetString(const std::string& param, const std::string& value) override;
  void SetFloat(const std::string& param, double value) override;
  void SetDateTime(const std::string& param, double value) override;
  void SetNull(const std::string& param) override;
  void Execute() override;
  void Open() override;
  void Close() override;
  void Last() override;

 private:
  // Passes over the rows to drop at the current position.
  void SkipDropped();
  [[noreturn]] void ReadOnly() const;

  db::Query& all_;
  const db::Field* key_ = nullptr;  // nullptr for a query without rows
  DropFn drop_;
  int32_t contractId_ = 0;
  bool moved_ = false;  // Next was called since the last Seek
  mutable std::unordered_map<std::string, const db::Field*> fields_;
};

}  // namespace zrv::state
