#include "import/Classifiers.h"

#include <limits>
#include <memory>

#include "contracts/AppIdentifier.h"
#include "contracts/StatementText.h"
#include "import/ClassifierTable.h"

namespace zrv::import {
namespace {

// Locality, quarter and street ids fill 16-bit property columns.
constexpr int32_t kSmallIdLimit = std::numeric_limits<int16_t>::max();

const ClassifierTable kLocalities{
    "SELECT me_id FROM me_kl WHERE UPPER(me_text) = :nmt",
    "nmt",
    "me_text",
    "SELECT MAX(me_id) FROM me_kl",
    "INSERT INTO me_kl (me_id, me_text) VALUES(:id, :text)",
    "Проблем при записа на местност",
    kSmallIdLimit};
const ClassifierTable kQuarters{
    "SELECT jk_id FROM jk_kl WHERE UPPER(jk_text) = :nmt",
    "nmt",
    "jk_text",
    "SELECT MAX(jk_id) FROM jk_kl",
    "INSERT INTO jk_kl (jk_id, jk_text) VALUES(:id, :text)",
    "Проблем при записа на ЖК",
    kSmallIdLimit};
const ClassifierTable kStreets{
    "SELECT ul_id FROM ul_kl WHERE UPPER(ul_text) = :nmt",
    "nmt",
    "ul_text",
    "SELECT MAX(ul_id) FROM ul_kl",
    "INSERT INTO ul_kl (ul_id, ul_text) VALUES(:id, :text)",
    "Проблем при записа на Улица",
    kSmallIdLimit};
// Looked up among the application's object types; the greatest id is taken over
// all of them.
const ClassifierTable kObjectTypes{
    "SELECT ot_id FROM objtype_kl WHERE ( (UPPER(ot_text) = :nmt) AND (ot_app "
    "= 1) )",
    "nmt",
    "ot_text",
    "SELECT MAX(ot_id) FROM objtype_kl",
    "INSERT INTO objtype_kl (ot_id, ot_text, ot_app) VALUES(:id, :text, 1)",
    "Проблем при записа на вид обект"};
// Rent types are looked up in the rent-type table, not by a statement.
const ClassifierTable kRentTypes{
    nullptr,
    nullptr,
    "rt_text",
    "SELECT MAX(rt_id) FROM renttypes",
    "INSERT INTO renttypes (rt_id, rt_text, rt_app) VALUES(:id, :text, 1)",
    "Проблем при записа на вид имот"};

const char* const kSelectPropertyByDocNumber =
    "SELECT doc_imotid FROM documents WHERE doc_nomtxt = :nomtxt and doc_type "
    "in (8,10,12)";

int16_t SmallId(int32_t id, const std::string& text) {
  if (id < std::numeric_limits<int16_t>::min() ||
      id > std::numeric_limits<int16_t>::max())
    throw Error("Номерът " + std::to_string(id) + " на \"" + text +
                "\" не се побира в полето на имота.");
  return static_cast<int16_t>(id);
}

}  // namespace

Classifiers::Classifiers(db::Connection& db, ui::Messages& messages,
                         ImportRunState& state,
                         contracts::RentTypeTable& rentTypes)
    : db_(db), messages_(messages), state_(state), rentTypes_(rentTypes) {}

int16_t Classifiers::GetLocalityID(const std::string& text) {
  return SmallId(GetOrInsertClassifier(db_, messages_, kLocalities, text),
                 text);
}

int16_t Classifiers::GetQuarterID(const std::string& text) {
  return SmallId(GetOrInsertClassifier(db_, messages_, kQuarters, text), text);
}

int16_t Classifiers::GetStreetID(const std::string& text) {
  return SmallId(GetOrInsertClassifier(db_, messages_, kStreets, text), text);
}

int32_t Classifiers::GetObjectTypeID(const std::string& text) {
  return GetOrInsertClassifier(db_, messages_, kObjectTypes, text);
}

int32_t Classifiers::GetRentTypeID(const std::string& text) {
  const int index = rentTypes_.FindRentType(text);
  if (index >= 0) return rentTypes_[index].ID;
  contracts::RequireStorableText(kRentTypes.textColumn, text);
  // The table is read again where the committed entries show, so that the
  // next row naming this rent type finds it: on a race, to find the other
  // workstation's entry, and else once the entry is added.
  bool reloaded = false;
  const auto reload = [&] {
    db_.RunApart([&] { rentTypes_.LoadRentTypes(db_, kAppID, messages_); });
    return rentTypes_.FindRentType(text);
  };
  const int32_t id = AddClassifier(db_, messages_, kRentTypes, text, {},
                                   [&]() -> std::optional<int32_t> {
                                     const int found = reload();
                                     reloaded = found >= 0;
                                     if (found < 0) return std::nullopt;
                                     return rentTypes_[found].ID;
                                   });
  if (!reloaded) reload();
  return id;
}

int32_t Classifiers::FindPropertyByDocNumber(const std::string& number) {
  std::unique_ptr<db::Query> query = db_.NewQuery();
  query->SetSQL(kSelectPropertyByDocNumber);
  query->SetString("nomtxt", number);
  query->Open();
  if (query->RecordCount() == 0) return -1;
  query->Last();
  return query->FieldByName("doc_imotid").AsInteger();
}

}  // namespace zrv::import
