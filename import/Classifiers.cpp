#include "import/Classifiers.h"

#include <limits>

#include "contracts/AppIdentifier.h"
#include "contracts/StatementText.h"
#include "import/ClassifierTable.h"
#include "import/store/ClassifierStore.h"

namespace zrv::import {
namespace {

int16_t SmallId(int32_t id, const std::string& text) {
  if (id < std::numeric_limits<int16_t>::min() || id > std::numeric_limits<int16_t>::max())
    throw Error("Номерът " + std::to_string(id) + " на \"" + text +
                "\" не се побира в полето на имота.");
  return static_cast<int16_t>(id);
}

}  // namespace

Classifiers::Classifiers(EntryTransactions& entries, ui::Messages& messages, ImportRunState& state,
                         contracts::RentTypeTable& rentTypes)
    : entries_(entries), messages_(messages), state_(state), rentTypes_(rentTypes) {}

int16_t Classifiers::GetLocalityID(db::Transaction& tx, const std::string& text) {
  return SmallId(GetOrInsertClassifier(tx, entries_, messages_, LocalityTable(), text), text);
}

int16_t Classifiers::GetQuarterID(db::Transaction& tx, const std::string& text) {
  return SmallId(GetOrInsertClassifier(tx, entries_, messages_, QuarterTable(), text), text);
}

int16_t Classifiers::GetStreetID(db::Transaction& tx, const std::string& text) {
  return SmallId(GetOrInsertClassifier(tx, entries_, messages_, StreetTable(), text), text);
}

int32_t Classifiers::GetObjectTypeID(db::Transaction& tx, const std::string& text) {
  return GetOrInsertClassifier(tx, entries_, messages_, ObjectTypeTable(), text);
}

int32_t Classifiers::GetRentTypeID(const std::string& text) {
  const int index = rentTypes_.FindRentType(text);
  if (index >= 0) return rentTypes_[index].ID;
  const ClassifierTable& table = RentTypeEntryTable();
  contracts::RequireStorableText(table.textColumn, text);
  // The table is read again where the committed entries show, so that the
  // next row naming this rent type finds it: on a race, to find the other
  // workstation's entry, and else once the entry is added.
  bool reloaded = false;
  const auto reload = [&] {
    entries_.Apart([&](db::Transaction& tx) { rentTypes_.LoadRentTypes(tx, kAppID, messages_); });
    return rentTypes_.FindRentType(text);
  };
  const int32_t id =
      AddClassifier(entries_, messages_, table, text, {}, [&]() -> std::optional<int32_t> {
        const int found = reload();
        reloaded = found >= 0;
        if (found < 0) return std::nullopt;
        return rentTypes_[found].ID;
      });
  if (!reloaded) reload();
  return id;
}

}  // namespace zrv::import
