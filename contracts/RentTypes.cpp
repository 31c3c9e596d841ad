#include "contracts/RentTypes.h"

#include <memory>

#include "common/Text.h"
#include "contracts/store/RentTypeStore.h"
#include "platform/db/Transaction.h"

namespace zrv::contracts {
namespace {

const char* const kMsgLoadFailed = "Грешка при зареждане на стойности по подразбиране.";

}  // namespace

bool IsBitSet(int32_t mask, int n) {
  const uint32_t bit = uint32_t{1} << (static_cast<unsigned>(n) % 32);
  return (static_cast<uint32_t>(mask) & bit) == bit;
}

void RentTypeTable::LoadRentTypes(db::Connection& db, int32_t appId, ui::Messages& messages) {
  entries_.clear();
  try {
    db::OwnTransaction transaction(db);
    try {
      RentTypeStore(transaction.Get()).Load(appId, [&](TRentTypeRec rec) {
        entries_.push_back(std::move(rec));
      });
    } catch (...) {
      // The reading transaction is committed even when reading failed; then
      // the error is shown.
      transaction.Commit();
      throw;
    }
    transaction.Commit();
  } catch (const std::exception& e) {
    messages.ShowMessage(std::string(kMsgLoadFailed) + "\n" + e.what());
  }
}

void RentTypeTable::LoadRentTypes(db::Transaction& tx, int32_t appId, ui::Messages& messages) {
  entries_.clear();
  try {
    RentTypeStore(tx).Load(appId, [&](TRentTypeRec rec) { entries_.push_back(std::move(rec)); });
  } catch (const std::exception& e) {
    messages.ShowMessage(std::string(kMsgLoadFailed) + "\n" + e.what());
  }
}

int RentTypeTable::FindRentType(const std::string& text) const {
  const std::string wanted = UpperCase(text);
  for (size_t i = 0; i < entries_.size(); ++i)
    if (UpperCase(entries_[i].Text) == wanted) return static_cast<int>(i);
  return -1;
}

}  // namespace zrv::contracts
