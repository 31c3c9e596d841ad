#pragma once
// The resolver's look-ups for an import run: persons and stored properties in
// the row's transaction, classifier texts through Classifiers (looked up in
// the row's transaction, an entry added committed at once apart from it).
// UseRow names the transaction of the row being resolved; everything given
// must outlive the object.

#include "contracts/store/ContractStore.h"
#include "contracts/store/PersonStore.h"
#include "contracts/store/PropertyStore.h"
#include "import/Classifiers.h"
#include "import/RowLookups.h"
#include "platform/db/Database.h"

namespace zrv::import {

class ImportLookups : public RowLookups {
 public:
  explicit ImportLookups(Classifiers& classifiers) : classifiers_(classifiers) {}

  void UseRow(db::Transaction& tx) { tx_ = &tx; }

  int32_t FindPerson(const std::string& number) override {
    return contracts::PersonStore(Row()).FindByEgn(number);
  }
  int32_t FindRepresentative(int32_t personId, const std::string& name) override {
    return contracts::PersonStore(Row()).FindRepresentative(personId, name);
  }
  int32_t RentTypeId(const std::string& text) override { return classifiers_.GetRentTypeID(text); }
  int32_t ObjectTypeId(const std::string& text) override {
    return classifiers_.GetObjectTypeID(Row(), text);
  }
  int32_t SettlementId(std::string& text) override {
    return classifiers_.GetSettlementID(Row(), text);
  }
  int16_t LocalityId(const std::string& text) override {
    return classifiers_.GetLocalityID(Row(), text);
  }
  int16_t QuarterId(const std::string& text) override {
    return classifiers_.GetQuarterID(Row(), text);
  }
  int16_t StreetId(const std::string& text) override {
    return classifiers_.GetStreetID(Row(), text);
  }
  int32_t PropertyByDocumentNumber(const std::string& number) override {
    return contracts::ContractStore(Row()).PropertyOfDocument(number);
  }
  int32_t PropertyByCadastralId(const contracts::TObektDB& property) override {
    // A property without a cadastral identifier cannot be told from another.
    if (!property.HasCadastralId()) return -1;
    return contracts::PropertyStore(Row()).FindByCadastralId(property);
  }

 private:
  db::Transaction& Row() { return *tx_; }

  Classifiers& classifiers_;
  db::Transaction* tx_ = nullptr;
};

}  // namespace zrv::import
