#include "contracts/Characteristics.h"

#include <memory>

#include "platform/db/Transaction.h"

namespace zrv::contracts {
namespace {

const char* const kSelectDefaults =
    "SELECT * FROM CHARACTERISTICS WHERE CH_APP = :app ";
const char* const kDeleteDocRows =
    "DELETE FROM CHARACTERISTICS_DOC WHERE CD_DOCID = :id";
const char* const kInsertDocRow =
    "INSERT INTO CHARACTERISTICS_DOC\n"
    "VALUES(:docid, :chid, :value, :no_use_val, :checked)";

const char* const kMsgLoadDefaultsFailed =
    "Грешка при зареждане на стойности по подразбиране.";
const char* const kMsgDeleteFailed = "uPHPCalc:Проблем при изтриване от БД";

}  // namespace

TCharacteristicsCommonTasks::TCharacteristicsCommonTasks(
    db::Connection& db, ui::Messages& messages,
    const TPHPCommonTasks& calculator, int32_t appId)
    : db_(db), messages_(messages), calculator_(calculator), appId_(appId) {}

void TCharacteristicsCommonTasks::LoadCharacteristicDefaults() {
  CalcVariables* calculator = calculator_.Calculator();
  if (calculator == nullptr) return;
  entries_.clear();
  try {
    std::unique_ptr<db::Query> query = db_.NewQuery();
    query->SetSQL(kSelectDefaults);
    query->SetInteger("app", appId_);
    query->Open();
    for (; !query->Eof(); query->Next()) {
      TCharacteristic entry;
      entry.CH_ID = query->FieldByName("CH_ID").AsInteger();
      entry.VarName = query->FieldByName("CH_VARNAME").AsString();
      entry.Value = query->FieldByName("CH_VALUE").AsString();
      entry.NoUseValue = query->FieldByName("CH_NO_USE_VALUE").AsString();
      entry.Text = query->FieldByName("CH_TEXT").AsString();
      calculator->AddVariable(entry.VarName);
      entries_.push_back(std::move(entry));
    }
  } catch (const std::exception& e) {
    messages_.ShowMessage(std::string(kMsgLoadDefaultsFailed) + "\n" +
                          e.what());
  }
}

void TCharacteristicsCommonTasks::SetCharChecked(int32_t chId, bool checked) {
  for (TCharacteristic& entry : entries_)
    if (entry.CH_ID == chId) entry.Checked = checked;
}

void TCharacteristicsCommonTasks::SetCharValue(int32_t chId,
                                               const std::string& value) {
  for (TCharacteristic& entry : entries_)
    if (entry.CH_ID == chId) entry.Value = value;
}

void TCharacteristicsCommonTasks::SetCharNoUseValue(int32_t chId,
                                                    const std::string& value) {
  for (TCharacteristic& entry : entries_)
    if (entry.CH_ID == chId) entry.NoUseValue = value;
}

TCharacteristic TCharacteristicsCommonTasks::GetCharEntry(int32_t chId) const {
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
    if (it->CH_ID == chId) return *it;
  throw Error("Няма характеристика с номер " + std::to_string(chId) + ".");
}

bool TCharacteristicsCommonTasks::DeleteDocCharacteristics(int32_t docId) {
  try {
    db::OwnTransaction transaction(db_);
    std::unique_ptr<db::Query> query = db_.NewQuery();
    query->SetSQL(kDeleteDocRows);
    query->SetInteger("id", docId);
    query->Execute();
    transaction.Commit();
  } catch (const std::exception&) {
    // The transaction object has rolled back its own transaction by now.
    messages_.ShowMessage(kMsgDeleteFailed);
    throw;
  }
  return true;
}

bool TCharacteristicsCommonTasks::InsertDocCharacteristic(int32_t docId,
                                                          int32_t chId) {
  if (!calculator_.HasCalculator()) return false;
  const TCharacteristic entry = GetCharEntry(chId);
  db::OwnTransaction transaction(db_);
  std::unique_ptr<db::Query> query = db_.NewQuery();
  query->SetSQL(kInsertDocRow);
  query->SetInteger("docid", docId);
  query->SetInteger("chid", chId);
  query->SetString("value", entry.Value);
  query->SetString("no_use_val", entry.NoUseValue);
  query->SetString("checked", entry.Checked ? "T" : "F");
  query->Execute();
  transaction.Commit();
  return true;
}

}  // namespace zrv::contracts
