#pragma once
// What the resolver asks the database while it turns a row's texts into ids:
// stored persons and properties, and classifier entries, found or added (an
// entry added is committed at once, apart from the row). The import's
// implementation (ImportLookups.h) works on the run's connection; the tests of
// the row rules give their own.

#include <cstdint>
#include <string>

#include "contracts/ObjectDB.h"

namespace zrv::import {

class RowLookups {
 public:
  virtual ~RowLookups() = default;

  // PER_ID of the stored person with exactly this identity number, or -1.
  virtual int32_t FindPerson(const std::string& number) = 0;
  // PER_ID of the stored representative of person `personId` named `name`, or
  // -1.
  virtual int32_t FindRepresentative(int32_t personId, const std::string& name) = 0;
  // Ids of classifier texts, the entry added when missing.
  virtual int32_t RentTypeId(const std::string& text) = 0;
  virtual int32_t ObjectTypeId(const std::string& text) = 0;
  // -1 for a text that is empty after trimming; a text naming a settlement of
  // the municipality's register is replaced by the register's name.
  virtual int32_t SettlementId(std::string& text) = 0;
  virtual int16_t LocalityId(const std::string& text) = 0;
  virtual int16_t QuarterId(const std::string& text) = 0;
  virtual int16_t StreetId(const std::string& text) = 0;
  // The property of the last stored document of type 8, 10 or 12 with this
  // number, or -1.
  virtual int32_t PropertyByDocumentNumber(const std::string& number) = 0;
  // A stored property with the settlement and cadastral groups of `property`,
  // or -1 (also for one without a cadastral identifier).
  virtual int32_t PropertyByCadastralId(const contracts::TObektDB& property) = 0;
};

}  // namespace zrv::import
