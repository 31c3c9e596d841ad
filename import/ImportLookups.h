#pragma once
// The resolver's look-ups on the import run's connection: persons through
// PersonTasks, classifier entries through Classifiers (an entry added is
// committed at once), stored properties through their statements. Everything
// given must outlive the object.

#include "contracts/PersonTasks.h"
#include "import/Classifiers.h"
#include "import/RowLookups.h"
#include "platform/db/Database.h"

namespace zrv::import {

class ImportLookups : public RowLookups {
 public:
  ImportLookups(db::Connection& db, const contracts::PersonTasks& persons,
                Classifiers& classifiers)
      : db_(db), persons_(persons), classifiers_(classifiers) {}

  int32_t FindPerson(const std::string& number) override {
    return persons_.FindByEGN(number);
  }
  int32_t FindRepresentative(int32_t personId,
                             const std::string& name) override {
    return persons_.FindRepresentative(personId, name);
  }
  int32_t RentTypeId(const std::string& text) override {
    return classifiers_.GetRentTypeID(text);
  }
  int32_t ObjectTypeId(const std::string& text) override {
    return classifiers_.GetObjectTypeID(text);
  }
  int32_t SettlementId(std::string& text) override {
    return classifiers_.GetSettlementID(text);
  }
  int16_t LocalityId(const std::string& text) override {
    return classifiers_.GetLocalityID(text);
  }
  int16_t QuarterId(const std::string& text) override {
    return classifiers_.GetQuarterID(text);
  }
  int16_t StreetId(const std::string& text) override {
    return classifiers_.GetStreetID(text);
  }
  int32_t PropertyByDocumentNumber(const std::string& number) override {
    return classifiers_.FindPropertyByDocNumber(number);
  }
  int32_t PropertyByCadastralId(
      const contracts::TObektDB& property) override {
    return contracts::TObektDB::FindByNpar(db_, property);
  }

 private:
  db::Connection& db_;
  const contracts::PersonTasks& persons_;
  Classifiers& classifiers_;
};

}  // namespace zrv::import
