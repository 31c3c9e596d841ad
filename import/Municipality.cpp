// The municipality check and the settlements of the municipality.
#include <memory>

#include "common/Text.h"
#include "contracts/StatementText.h"
#include "import/ClassifierTable.h"
#include "import/Classifiers.h"

namespace zrv::import {
namespace {

const char* const kSelectRegisterMunicipality =
    "SELECT eknm, ob_code FROM obsh_tbl WHERE (UPPER(ob_name) = :name)";
const ClassifierTable kMunicipalities{
    "SELECT ob_id FROM obsh_kl WHERE (UPPER(ob_text) = :name)",
    "name",
    "ob_text",
    "SELECT MAX(ob_id) FROM obsh_kl",
    "INSERT INTO obsh_kl (ob_id, ob_text) VALUES(:id, :text)",
    "Проблем при записа на вид имот"};

const char* const kSelectRegisterSettlements =
    "SELECT * FROM nm_tbl WHERE ob_code = :code";
// The name is bound as a parameter rather than written into the statement, so a
// name holding a double quote is found like any other.
const ClassifierTable kSettlements{
    "SELECT nm_id FROM nm_kl WHERE UPPER(nm_text) = :nmt",
    "nmt",
    "nm_text",
    "SELECT MAX(nm_id) FROM nm_kl",
    "INSERT INTO nm_kl (nm_id, nm_text, nm_obid, nm_obtext, nm_eknm) "
    "VALUES(:id, :text, :obid, :obtext, :eknm)",
    "Проблем при записа на населено място"};

const char* const kMsgInvalidMunicipality = "Невалидна община";

}  // namespace

bool Classifiers::CheckMunicipality(const std::string& name) {
  contracts::RequireStorableText("ob_name", name);
  {
    std::unique_ptr<db::Query> query = db_.NewQuery();
    query->SetSQL(kSelectRegisterMunicipality);
    query->SetString("name", UpperCase(name));
    query->Open();
    if (query->Eof()) {
      messages_.ShowMessage(kMsgInvalidMunicipality);
      return false;
    }
    state_.MunicipalityEKNM = query->FieldAt(0).AsString();
    state_.MunicipalityCode = query->FieldAt(1).AsString();
  }
  state_.MunicipalityID =
      GetOrInsertClassifier(db_, messages_, kMunicipalities, name);
  state_.MunicipalityName = name;
  return true;
}

void Classifiers::LoadSettlements() {
  std::unique_ptr<db::Query> query = db_.NewQuery();
  query->SetSQL(kSelectRegisterSettlements);
  query->SetString("code", state_.MunicipalityCode);
  query->Open();
  std::vector<SettlementEntry> settlements;
  settlements.reserve(query->RecordCount());
  for (; !query->Eof(); query->Next()) {
    settlements.push_back({query->FieldByName("eknm").AsString(),
                           query->FieldByName("nm_name").AsString()});
  }
  state_.Settlements = std::move(settlements);
}

int Classifiers::FindSettlement(const std::string& text) const {
  const std::string upperText = UpperCase(text);
  for (size_t i = 0; i < state_.Settlements.size(); ++i) {
    const std::string& name = state_.Settlements[i].Name;
    if (!name.empty() && upperText.find(UpperCase(name)) != std::string::npos)
      return static_cast<int>(i);
  }
  return -1;
}

int32_t Classifiers::GetSettlementID(std::string& text) {
  if (Trim(text).empty()) return -1;
  std::string eknm;
  const int index = FindSettlement(text);
  if (index >= 0) {
    text = state_.Settlements[index].Name;
    eknm = state_.Settlements[index].EKNM;
  }
  return GetOrInsertClassifier(
      db_, messages_, kSettlements, text, [&](db::Query& query) {
        query.SetInteger("obid", state_.MunicipalityID);
        query.SetString("obtext", state_.MunicipalityName);
        query.SetString("eknm", eknm);
      });
}

}  // namespace zrv::import
