#include "contracts/BaseDoc.h"

#include <cmath>
#include <memory>

#include "common/Rounding.h"
#include "common/Text.h"
#include "contracts/AppIdentifier.h"
#include "contracts/store/CharacteristicStore.h"
#include "contracts/store/ContractStore.h"
#include "contracts/store/PropertyStore.h"
#include "platform/db/Transaction.h"

namespace zrv::contracts {
namespace {

const char* const kFlagFalse = "F";

}  // namespace

TBaseDoc::TBaseDoc(db::Connection& db, TCharacteristicsCommonTasks& characteristics,
                   TPHPCommonTasks& calculator, int32_t currentUserId)
    : db_(db),
      characteristics_(characteristics),
      calculator_(calculator),
      currentUserId_(currentUserId) {
  Clear();
}

void TBaseDoc::Clear() {
  RentTypeID = -1;
  DocType = -1;
  AppID = kAppID;
  DocID = -1;
  SF2Text.clear();
  Purpose.clear();
  Comment.clear();
  NumberText.clear();
  DocDate = 0;
  MonthPrice = 0;
  InterestPercent = 0;
  Area = 0;
  InterestType = -1;
  VATCode = -1;
  CurrencyCode = -1;
  ObjectTypeText.clear();
  ObjectName.clear();
  InterestMax = 0;
  PropertyID = -1;
  TenantID = -1;
  StartDate = 0;
  StopDate = 0;
  TenantName.clear();
  TenantEGN.clear();
  TenantMOLName.clear();
  PayDay = 0;
  InitialSum = 0;
  FreeFlag = kFlagFalse;
  Zone = -1;
  SF6Text.clear();
  IF4Value = -1;
  PodsadFlag.clear();
  AddNum.clear();
  AddText.clear();
  TypeText.clear();
  HandRentInfo = kFlagFalse;
  ValueCalcID = -1;
  WriteFirstAnnex = true;
  ExtraDate = 0;
}

// ---- storing ----

bool TBaseDoc::Insert() {
  db::OwnTransaction transaction(db_);
  Insert(transaction.Get());
  transaction.Commit();
  return true;
}

bool TBaseDoc::Insert(db::Transaction& tx) {
  const ContractStore store(tx);
  DocID = store.Insert(*this, currentUserId_);
  if (WriteFirstAnnex) store.InsertFirstAnnex(*this);
  if (DocType > 0) SaveCharacteristics(tx);
  return true;
}

bool TBaseDoc::Update(int32_t id) {
  DocID = id;
  db::OwnTransaction transaction(db_);
  ContractStore(transaction.Get()).Update(*this);
  if (DocType > 0) SaveCharacteristics();
  transaction.Commit();
  return true;
}

void TBaseDoc::SaveCharacteristics() {
  db::OwnTransaction transaction(db_);
  SaveCharacteristics(transaction.Get());
  transaction.Commit();
}

void TBaseDoc::SaveCharacteristics(db::Transaction& tx) {
  characteristics_.DeleteDocCharacteristics(tx, DocID);
  for (const TCharacteristic& entry : characteristics_.Entries())
    characteristics_.InsertDocCharacteristic(tx, DocID, entry.CH_ID);
  characteristics_.LoadCharacteristicDefaults();
}

// ---- loading ----

void TBaseDoc::LoadByID(int32_t id) {
  Clear();
  db::OwnTransaction transaction(db_);
  const ContractStore store(transaction.Get());
  store.LoadHeader(id, *this);
  store.LoadTenantNames(*this);
  Zone = PropertyStore(transaction.Get()).Zone(PropertyID);
  store.LoadAnnexes(DocID, Annexes);
  transaction.Commit();
  if (DocType > 0) LoadCharacteristics();
}

void TBaseDoc::LoadCharacteristics() {
  db::OwnTransaction transaction(db_);
  const std::vector<DocCharacteristic> values =
      CharacteristicStore(transaction.Get()).OfContract(DocID);
  transaction.Commit();
  for (const DocCharacteristic& v : values) {
    characteristics_.SetCharChecked(v.chId, v.checked);
    characteristics_.SetCharValue(v.chId, v.value);
    characteristics_.SetCharNoUseValue(v.chId, v.noUseValue);
  }
}

// ---- the calculator ----

void TBaseDoc::PublishCalcValues() {
  if (!calculator_.HasCalculator()) return;
  int months = 0, days = 0;
  MonthsAndDays(StartDate, StopDate, months, days);
  const auto allDays = static_cast<int64_t>(std::trunc(StopDate - StartDate));
  calculator_.SetCalcValue("months", std::to_string(months));
  calculator_.SetCalcValue("days", std::to_string(days));
  calculator_.SetCalcValue("allDays", std::to_string(allDays));
  calculator_.SetCalcValue("docnum", NumberText);
  calculator_.SetCalcValue("purpose", Purpose);
  calculator_.SetCalcValue("out_monthprice", Format("%.15g", MonthPrice));
  calculator_.SetCalcValue("area", Format("%.15g", Area));
}

}  // namespace zrv::contracts
