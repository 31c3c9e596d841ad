#pragma once
// Citizens and firms in PERSONS: found by identity number, added, and asked
// whether an object unit refers to them. Tenants and their representatives are
// both persons.
//
// A PersonTasks object is made once at start-up and handed the connection;
// until then (or when handed none) every operation throws "uPersonTasks: DB not
// init.". Each operation makes its own query and frees it before returning.
// Single-threaded; the connection must outlive the object.

#include <cstdint>
#include <string>

#include "common/Dates.h"
#include "platform/db/Database.h"

namespace zrv::contracts {

// A person as the row mapping fills it and InsertPerson stores it.
struct TPersonSrchRec {
  std::string Name;        // PER_NAME, the citizen's or the firm's name
  std::string EGN;         // PER_EGN, personal identity number or the firm's registry code
  std::string Dann;        // PER_DANN, tax number
  std::string Addr;        // PER_ADDR
  std::string NM;          // PER_NM, the settlement as text
  std::string ExtraText1;  // not stored
  int32_t MOL = -1;        // PER_MOL, PER_ID of the person who represents a firm
  std::string InDDS;       // PER_INDDS, VAT identification number
  std::string AddrCoresp;  // PER_ADDR_CORESP, correspondence address
  std::string TDNap;       // PER_TDNAP, territorial directorate of the revenue agency
  std::string TDNapAddr;   // PER_TDNAP_ADDR
  char Flag = '\0';        // PER_FLAG: 'T' citizen, 'F' firm; '\0' is stored as an empty text
  int32_t ID = -1;         // PER_ID of the stored person, -1 when none was found; not stored
  std::string FirmDelo;    // PER_FIRMDELO, company register case
  std::string Telefon;     // PER_TELEFON
  std::string PData;       // PER_PDATA, identity card number
  TDate DateReg = 0;       // PER_DATEREG; the empty date is stored as 30.12.1899
  std::string ExtraText2;  // not stored
};

class PersonTasks {
 public:
  // Operations on `db`; nullptr leaves the object without a database.
  explicit PersonTasks(db::Connection* db = nullptr) : db_(db) {}
  PersonTasks(const PersonTasks&) = delete;
  PersonTasks& operator=(const PersonTasks&) = delete;

  // PER_ID of the first stored person whose PER_EGN equals `egn` exactly, or
  // -1. Database errors travel to the caller.
  int32_t FindByEGN(const std::string& egn) const;

  // PER_ID of the stored representative (PER_MOL) of person `personId` when
  // its PER_NAME equals `name` exactly, or -1: a representative without a
  // number is found again through the firm it answers for.
  int32_t FindRepresentative(int32_t personId, const std::string& name) const;

  // Adds the person and gives the new PER_ID; gives -1 and writes nothing when
  // both Name and EGN are empty. Every value is a statement parameter, so a
  // text is stored exactly as given; a text the database cannot hold is
  // refused with zrv::Error. Runs in the caller's
  // transaction when one is open, otherwise in one of its own that it commits;
  // on an error a transaction it started is rolled back and the error travels
  // on.
  int32_t InsertPerson(TPersonSrchRec person) const;

  // True when at least one obunits row names the person. Same transaction rule
  // as InsertPerson.
  bool HasObjectUnits(int32_t personId) const;

 private:
  db::Connection& Database() const;

  db::Connection* db_;
};

}  // namespace zrv::contracts
