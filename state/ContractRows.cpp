#include "state/ContractRows.h"

namespace zrv::state {

namespace {
constexpr const char* kMsgReadOnly = "Редовете на един договор само се четат (вътрешна грешка).";
constexpr const char* kMsgBackwards =
    "Редовете на договорите се четат само напред (вътрешна грешка).";
}  // namespace

ContractRows::ContractRows(db::Query& all, const std::string& keyColumn, DropFn drop)
    : all_(all), drop_(std::move(drop)) {
  // An empty result may not even name its columns: it has no rows to key.
  if (!all_.Eof()) key_ = &all_.FieldByName(keyColumn);
}

void ContractRows::Seek(int32_t contractId) {
  contractId_ = contractId;
  moved_ = false;
  while (!all_.Eof() && key_->AsInteger() < contractId) all_.Next();
  SkipDropped();
}

void ContractRows::SkipDropped() {
  if (!drop_) return;
  while (!Eof() && drop_(all_)) all_.Next();
}

bool ContractRows::Eof() const { return all_.Eof() || key_->AsInteger() != contractId_; }

void ContractRows::Next() {
  if (Eof()) return;
  moved_ = true;
  all_.Next();
  SkipDropped();
}

void ContractRows::First() {
  if (moved_) throw db::DbError(kMsgBackwards);
}

const db::Field* ContractRows::FindField(const std::string& name) const {
  const auto found = fields_.find(name);
  if (found != fields_.end()) return found->second;
  const db::Field* field = all_.FindField(name);
  fields_.emplace(name, field);
  return field;
}

const db::Field& ContractRows::FieldByName(const std::string& name) const {
  const db::Field* field = FindField(name);
  // The query's own lookup throws its message for a column it lacks.
  return field ? *field : all_.FieldByName(name);
}

const std::string& ContractRows::DatabaseName() const { return all_.DatabaseName(); }
const std::string& ContractRows::SQL() const { return all_.SQL(); }

void ContractRows::ReadOnly() const { throw db::DbError(kMsgReadOnly); }
void ContractRows::SetSQL(const std::string&) { ReadOnly(); }
void ContractRows::SetInteger(const std::string&, int32_t) { ReadOnly(); }
void ContractRows::SetSmallInt(const std::string&, int16_t) { ReadOnly(); }
void ContractRows::SetString(const std::string&, const std::string&) { ReadOnly(); }
void ContractRows::SetFloat(const std::string&, double) { ReadOnly(); }
void ContractRows::SetDateTime(const std::string&, double) { ReadOnly(); }
void ContractRows::SetNull(const std::string&) { ReadOnly(); }
void ContractRows::Execute() { ReadOnly(); }
void ContractRows::Open() { ReadOnly(); }
void ContractRows::Close() { ReadOnly(); }
void ContractRows::Last() { ReadOnly(); }

}  // namespace zrv::state
