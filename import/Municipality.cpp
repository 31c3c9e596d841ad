// The municipality check and the settlements of the municipality.
#include <optional>

#include "common/Text.h"
#include "contracts/StatementText.h"
#include "import/ClassifierTable.h"
#include "import/Classifiers.h"
#include "import/store/ClassifierStore.h"

namespace zrv::import {
namespace {

const char* const kMsgInvalidMunicipality = "Невалидна община";

}  // namespace

bool Classifiers::CheckMunicipality(db::Transaction& tx, const std::string& name) {
  contracts::RequireStorableText("ob_name", name);
  const std::optional<RegisterMunicipality> found =
      RegisterStore(tx).FindMunicipality(UpperCase(name));
  if (!found) {
    messages_.ShowMessage(kMsgInvalidMunicipality);
    return false;
  }
  state_.MunicipalityEKNM = found->eknm;
  state_.MunicipalityCode = found->code;
  state_.MunicipalityID = GetOrInsertClassifier(tx, entries_, messages_, MunicipalityTable(), name);
  state_.MunicipalityName = name;
  return true;
}

void Classifiers::LoadSettlements(db::Transaction& tx) {
  state_.Settlements = RegisterStore(tx).Settlements(state_.MunicipalityCode);
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

int32_t Classifiers::GetSettlementID(db::Transaction& tx, std::string& text) {
  if (Trim(text).empty()) return -1;
  std::string eknm;
  const int index = FindSettlement(text);
  if (index >= 0) {
    text = state_.Settlements[index].Name;
    eknm = state_.Settlements[index].EKNM;
  }
  return GetOrInsertClassifier(tx, entries_, messages_, SettlementTable(), text,
                               [&](db::Query& query) {
                                 query.SetInteger("obid", state_.MunicipalityID);
                                 query.SetString("obtext", state_.MunicipalityName);
                                 query.SetString("eknm", eknm);
                               });
}

}  // namespace zrv::import
