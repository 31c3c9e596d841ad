#pragma once
// One rental contract in memory with the statements that store it: a row of
// `documents`, the contract's first annex in `Anecs` (annex 1 carries the
// contract's own price, period and terms), and its characteristic rows. A
// stored contract can be loaded back with its tenant's names, its property's
// zone and all its annexes.
//
// The import makes one object for a run and reuses it for every worksheet row:
// Clear, fill the fields, Insert inside the row's transaction. The connection,
// the characteristic working set and the calculator binding are handed over at
// construction and must outlive the object. Single-threaded.
//
// The statements are ContractStore's: every value is a parameter; dates go in
// as "dd.mm.yyyy" and amounts as two-decimal text with "." whatever the locale
// is, which the server converts to the column.

#include <cstdint>
#include <string>

#include "common/Dates.h"
#include "contracts/Characteristics.h"
#include "contracts/PHPCalc.h"
#include "platform/db/Database.h"
#include "schedule/Anecs.h"

namespace zrv::contracts {

class TBaseDoc {
 public:
  // `currentUserId` is the logged-in user's id, written to every contract this
  // object inserts.
  TBaseDoc(db::Connection& db, TCharacteristicsCommonTasks& characteristics,
           TPHPCommonTasks& calculator, int32_t currentUserId);
  virtual ~TBaseDoc() = default;
  TBaseDoc(const TBaseDoc&) = delete;
  TBaseDoc& operator=(const TBaseDoc&) = delete;

  // Hands months, days, allDays, docnum, purpose, out_monthprice and area, as
  // text, to the calculator's variables. Does nothing when no calculator is
  // attached.
  virtual void PublishCalcValues();
  // Sets every field to its empty value; ExtraNote and Annexes keep theirs.
  virtual void Clear();
  // Clears, then reads contract `id` with its tenant's names, its property's
  // zone, its annexes and (for a positive type) its characteristics. An id that
  // matches no contract leaves zeros and empty texts. Database errors travel
  // on.
  virtual void LoadByID(int32_t id);
  // Stores the contract as a new row, reads its new id back into DocID, writes
  // annex 1 when WriteFirstAnnex is set, and for a positive DocType replaces
  // its characteristic rows. Gives true; any error rolls back a transaction
  // this call started and travels on.
  virtual bool Insert();
  // The same in the transaction `tx`, which the caller ends.
  bool Insert(db::Transaction& tx);
  // Rewrites contract `id` (DocID becomes `id`) and its annex 1, closes its
  // latest annex on StopDate, and for a positive DocType replaces its
  // characteristic rows. Type, property, application, da_sf6, user and initial
  // sum stay as stored. Gives true; errors as Insert.
  virtual bool Update(int32_t id);

  // Marks, values and no-use values of the working set from the contract's
  // stored rows.
  void LoadCharacteristics();
  // Replaces the contract's characteristic rows by the working set, then
  // reloads its defaults.
  void SaveCharacteristics();
  void SaveCharacteristics(db::Transaction& tx);

  int32_t RentTypeID;          // da_rf1
  int16_t DocType;             // doc_type; the import writes 1002
  int16_t AppID;               // doc_app
  int32_t DocID;               // doc_id, given by the database on insert
  std::string SF2Text;         // DA_SF2
  std::string Purpose;         // DOC_COMENT2
  std::string Comment;         // DOC_COMENT
  std::string NumberText;      // doc_nomtxt
  TDate DocDate;               // doc_data
  double MonthPrice;           // DOC_PRICE
  double InterestPercent;      // DA_LPERCENT
  double Area;                 // DOC_AREA
  int16_t InterestType;        // DA_LTYPE
  int16_t VATCode;             // DA_DDS
  int16_t CurrencyCode;        // DA_VALUTA
  std::string ObjectTypeText;  // da_objtype
  std::string ObjectName;      // da_objname
  double InterestMax;          // da_rf2: interest cap, or multiplier for interest kind 1
  int32_t PropertyID;          // DOC_IMOTID
  int32_t TenantID;            // DA_IF1
  TDate StartDate;             // DOC_DATASTART
  TDate StopDate;              // DOC_DATASTOP
  std::string TenantName;      // tenant's per_name (loaded only)
  std::string TenantEGN;       // tenant's per_egn (loaded only)
  std::string TenantMOLName;   // per_name of the tenant's representative (loaded only)
  uint16_t PayDay;             // DOC_PAYDAY, a pay-day code
  double InitialSum;           // DOC_INITSUM
  std::string FreeFlag;        // DOC_FREE
  int32_t Zone;                // the property's IM_ZONE (loaded only)
  std::string SF6Text;         // da_sf6, written on insert only
  int32_t IF4Value;            // DA_IF4
  std::string PodsadFlag;      // DOC_PODSAD: "F", "T", "S" or "B"
  std::string AddNum;          // DOC_ADDNUM
  std::string AddText;         // DOC_ADDTEXT
  std::string TypeText;        // DOC_TYPETEXT; the import writes "Наем"
  std::string HandRentInfo;    // DOC_HANDRENTINFO
  int32_t ValueCalcID;         // DOC_VALUECALCID
  bool WriteFirstAnnex;        // Insert also writes annex 1
  TDate ExtraDate;             // recorded by the row mapping; not stored here
  std::string ExtraNote;       // recorded by the row mapping; not stored, not cleared
  schedule::TAnecses Annexes;  // the contract's annexes, filled by LoadByID

 private:
  db::Connection& db_;
  TCharacteristicsCommonTasks& characteristics_;
  TPHPCommonTasks& calculator_;
  int32_t currentUserId_;
};

}  // namespace zrv::contracts
