#pragma once
// One rented property (a plot, building, premises, advertising spot) held in
// memory, with the statement that adds it to Imot and the look-up of a stored
// property by its settlement and cadastral identifier.
//
// The import makes one object for a run and reuses it for every row: Clear,
// fill, and Insert only when the row's property is not stored yet. The
// connection must outlive the object.

#include <cstdint>
#include <string>

#include "platform/db/Database.h"

namespace zrv::contracts {

class TObektDB {
 public:
  // A cleared object that stores through `db`.
  explicit TObektDB(db::Connection& db);
  TObektDB(const TObektDB&) = delete;
  TObektDB& operator=(const TObektDB&) = delete;

  // Sets every stored field to its empty value (ids -1, numbers 0, texts
  // empty); SettlementText is kept.
  void Clear();

  // Adds the property as a new Imot row and sets ID to the id the database gave
  // it; gives true. Runs in the caller's transaction when one is open,
  // otherwise in one of its own that it commits. On an error a transaction it
  // started is rolled back and the error travels on; nothing is left written. A
  // text the database cannot hold is refused with zrv::Error.
  bool Insert();
  // The same in the transaction `tx`, which the caller ends.
  bool Insert(db::Transaction& tx);

  // True when the cadastral groups hold an identifier: NparText is set and not
  // every group is 0.
  bool HasCadastralId() const;

  // The im_id of the first stored property with the settlement and all four
  // cadastral groups (MasivNo, NparText, NN, NI) of `wanted`, or -1. A property
  // without a cadastral identifier finds nothing, without a query: it cannot
  // be told from another one. Database errors travel to the caller.
  static int32_t FindByNpar(db::Connection& db, const TObektDB& wanted);

  int32_t ID;                  // im_id, given by the database on insert
  int32_t SettlementID;        // im_nm
  int32_t MasivNo;             // im_nmas, second part of the cadastral identifier
  std::string NparText;        // im_npar, third part of the cadastral identifier
  int16_t NN;                  // im_nn, fourth part
  int16_t NI;                  // im_ni, fifth part
  std::string RkvText;         // im_rkv
  std::string RparText;        // im_rpar
  int16_t NTP;                 // im_ntp
  int16_t VTP;                 // im_vtp
  int16_t LocalityID;          // im_mestnost
  int16_t QuarterID;           // im_jk
  int16_t StreetID;            // im_nulic
  std::string Address;         // im_address, at most 250 characters
  double Area;                 // im_area
  int32_t ImType;              // im_type
  std::string AddressNo;       // im_addressnom, the street number
  std::string Description;     // im_desc
  std::string Borders;         // im_borders
  int16_t ImZone;              // im_zone
  std::string ZutType;         // im_zuttype
  std::string SettlementText;  // the settlement as the row wrote it; not stored here

 private:
  db::Connection& db_;
};

}  // namespace zrv::contracts
