#include "import/store/ClassifierStore.h"

#include <limits>
#include <memory>

namespace zrv::import {
namespace {

// Locality, quarter and street ids fill 16-bit property columns.
constexpr int32_t kSmallIdLimit = std::numeric_limits<int16_t>::max();

const ClassifierTable kMunicipalities{"obsh_kl",
                                      "SELECT ob_id FROM obsh_kl WHERE (UPPER(ob_text) = :name)",
                                      "name",
                                      "ob_text",
                                      "SELECT MAX(ob_id) FROM obsh_kl",
                                      "INSERT INTO obsh_kl (ob_id, ob_text) VALUES(:id, :text)",
                                      "Проблем при записа на вид имот"};
// The name is bound as a parameter rather than written into the statement, so a
// name holding a double quote is found like any other.
const ClassifierTable kSettlements{
    "nm_kl",
    "SELECT nm_id FROM nm_kl WHERE UPPER(nm_text) = :nmt",
    "nmt",
    "nm_text",
    "SELECT MAX(nm_id) FROM nm_kl",
    "INSERT INTO nm_kl (nm_id, nm_text, nm_obid, nm_obtext, nm_eknm) "
    "VALUES(:id, :text, :obid, :obtext, :eknm)",
    "Проблем при записа на населено място"};
const ClassifierTable kLocalities{"me_kl",
                                  "SELECT me_id FROM me_kl WHERE UPPER(me_text) = :nmt",
                                  "nmt",
                                  "me_text",
                                  "SELECT MAX(me_id) FROM me_kl",
                                  "INSERT INTO me_kl (me_id, me_text) VALUES(:id, :text)",
                                  "Проблем при записа на местност",
                                  kSmallIdLimit};
const ClassifierTable kQuarters{"jk_kl",
                                "SELECT jk_id FROM jk_kl WHERE UPPER(jk_text) = :nmt",
                                "nmt",
                                "jk_text",
                                "SELECT MAX(jk_id) FROM jk_kl",
                                "INSERT INTO jk_kl (jk_id, jk_text) VALUES(:id, :text)",
                                "Проблем при записа на ЖК",
                                kSmallIdLimit};
const ClassifierTable kStreets{"ul_kl",
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
    "objtype_kl",
    "SELECT ot_id FROM objtype_kl WHERE ( (UPPER(ot_text) = :nmt) AND (ot_app "
    "= 1) )",
    "nmt",
    "ot_text",
    "SELECT MAX(ot_id) FROM objtype_kl",
    "INSERT INTO objtype_kl (ot_id, ot_text, ot_app) VALUES(:id, :text, 1)",
    "Проблем при записа на вид обект"};
const ClassifierTable kRentTypes{
    "renttypes",
    nullptr,
    nullptr,
    "rt_text",
    "SELECT MAX(rt_id) FROM renttypes",
    "INSERT INTO renttypes (rt_id, rt_text, rt_app) VALUES(:id, :text, 1)",
    "Проблем при записа на вид имот"};

const char* const kSelectRegisterMunicipality =
    "SELECT eknm, ob_code FROM obsh_tbl WHERE (UPPER(ob_name) = :name)";
const char* const kSelectRegisterSettlements = "SELECT * FROM nm_tbl WHERE ob_code = :code";
const char* const kCountClassifiers =
    "SELECT (SELECT COUNT(*) FROM obsh_kl) + (SELECT COUNT(*) FROM nm_kl)"
    " + (SELECT COUNT(*) FROM me_kl) + (SELECT COUNT(*) FROM jk_kl)"
    " + (SELECT COUNT(*) FROM ul_kl) + (SELECT COUNT(*) FROM objtype_kl)"
    " + (SELECT COUNT(*) FROM renttypes) FROM RDB$DATABASE";

}  // namespace

const ClassifierTable& MunicipalityTable() { return kMunicipalities; }
const ClassifierTable& SettlementTable() { return kSettlements; }
const ClassifierTable& LocalityTable() { return kLocalities; }
const ClassifierTable& QuarterTable() { return kQuarters; }
const ClassifierTable& StreetTable() { return kStreets; }
const ClassifierTable& ObjectTypeTable() { return kObjectTypes; }
const ClassifierTable& RentTypeEntryTable() { return kRentTypes; }

std::optional<RegisterMunicipality> RegisterStore::FindMunicipality(
    const std::string& upperName) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectRegisterMunicipality);
  query->SetString("name", upperName);
  query->Open();
  if (query->Eof()) return std::nullopt;
  return RegisterMunicipality{query->FieldAt(0).AsString(), query->FieldAt(1).AsString()};
}

std::vector<SettlementEntry> RegisterStore::Settlements(const std::string& code) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectRegisterSettlements);
  query->SetString("code", code);
  query->Open();
  std::vector<SettlementEntry> settlements;
  settlements.reserve(query->RecordCount());
  for (; !query->Eof(); query->Next()) {
    settlements.push_back(
        {query->FieldByName("eknm").AsString(), query->FieldByName("nm_name").AsString()});
  }
  return settlements;
}

int RegisterStore::CountClassifierRows() const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kCountClassifiers);
  query->Open();
  return query->Eof() ? 0 : query->FieldAt(0).AsInteger();
}

}  // namespace zrv::import
