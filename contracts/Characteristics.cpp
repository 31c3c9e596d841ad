#include "contracts/Characteristics.h"

#include <memory>

#include "contracts/store/CharacteristicStore.h"
#include "platform/db/Transaction.h"

namespace zrv::contracts {
namespace {

const char* const kMsgLoadDefaultsFailed = "Грешка при зареждане на стойности по подразбиране.";
const char* const kMsgDeleteFailed = "uPHPCalc:Проблем при изтриване от БД";

}  // namespace

TCharacteristicsCommonTasks::TCharacteristicsCommonTasks(db::Connection& db, ui::Messages& messages,
                                                         const TPHPCommonTasks& calculator,
                                                         int32_t appId)
    : db_(db), messages_(messages), calculator_(calculator), appId_(appId) {}

void TCharacteristicsCommonTasks::LoadCharacteristicDefaults() {
  CalcVariables* calculator = calculator_.Calculator();
  if (calculator == nullptr) return;
  entries_.clear();
  try {
    db::OwnTransaction transaction(db_);
    // Entries stay as they are added, also when reading fails part way.
    CharacteristicStore(transaction.Get()).Defaults(appId_, [&](TCharacteristic entry) {
      calculator->AddVariable(entry.VarName);
      entries_.push_back(std::move(entry));
    });
    transaction.Commit();
  } catch (const std::exception& e) {
    messages_.ShowMessage(std::string(kMsgLoadDefaultsFailed) + "\n" + e.what());
  }
}

void TCharacteristicsCommonTasks::SetCharChecked(int32_t chId, bool checked) {
  for (TCharacteristic& entry : entries_)
    if (entry.CH_ID == chId) entry.Checked = checked;
}

void TCharacteristicsCommonTasks::SetCharValue(int32_t chId, const std::string& value) {
  for (TCharacteristic& entry : entries_)
    if (entry.CH_ID == chId) entry.Value = value;
}

void TCharacteristicsCommonTasks::SetCharNoUseValue(int32_t chId, const std::string& value) {
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
    CharacteristicStore(transaction.Get()).DeleteOfContract(docId);
    transaction.Commit();
  } catch (const std::exception&) {
    // The transaction object has rolled back its own transaction by now.
    messages_.ShowMessage(kMsgDeleteFailed);
    throw;
  }
  return true;
}

bool TCharacteristicsCommonTasks::DeleteDocCharacteristics(db::Transaction& tx, int32_t docId) {
  try {
    CharacteristicStore(tx).DeleteOfContract(docId);
  } catch (const std::exception&) {
    messages_.ShowMessage(kMsgDeleteFailed);
    throw;
  }
  return true;
}

bool TCharacteristicsCommonTasks::InsertDocCharacteristic(int32_t docId, int32_t chId) {
  if (!calculator_.HasCalculator()) return false;
  db::OwnTransaction transaction(db_);
  InsertDocCharacteristic(transaction.Get(), docId, chId);
  transaction.Commit();
  return true;
}

bool TCharacteristicsCommonTasks::InsertDocCharacteristic(db::Transaction& tx, int32_t docId,
                                                          int32_t chId) {
  if (!calculator_.HasCalculator()) return false;
  CharacteristicStore(tx).Insert(docId, GetCharEntry(chId));
  return true;
}

}  // namespace zrv::contracts
