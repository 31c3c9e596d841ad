#pragma once
// The rent-type table: every renttypes row of the application, held in memory
// so that a rent type named by a worksheet row is found by its text without a
// query. Loaded at start-up and again after the import adds a rent type. One
// table is owned by the run's start-up state; single-threaded.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/db/Database.h"
#include "platform/ui/Messages.h"

namespace zrv::contracts {

struct TRentTypeRec {
  int32_t ID = 0;             // RT_ID
  std::string Text;           // RT_TEXT
  int16_t Srok = 0;           // RT_SROK, the term
  int16_t DDS = 0;            // RT_DDS, the VAT code
  int16_t Valuta = 0;         // RT_VALUTA, the currency code
  int16_t LType = 0;          // RT_LTYPE, the interest kind
  double LPercent = 0;        // RT_LPercent
  double LMax = 0;            // RT_LMax
  int16_t PayDay = 0;         // RT_PayDay
  int32_t RequireFields = 0;  // RT_RequireFields, a bit mask
  std::string Osnovanie;      // RT_Osnovanie, the legal basis
  std::string Descr;          // RT_Descr
  std::string Za;             // RT_Za
  int16_t TemplType = 0;      // RT_TemplType
  int16_t ObjType = 0;        // RT_ObjType
  bool Smet = false;          // RT_Smet = "T"
  int16_t NumKind = 0;        // RT_NumKind
  bool Require0 = false;      // bits 0, 1 and 2 of RequireFields
  bool Require1 = false;
  bool Require2 = false;
  int16_t RTType = 0;   // RT_TYPE
  bool Marked = false;  // always false after loading
};

// True when bit n (taken modulo 32) of the mask is set.
bool IsBitSet(int32_t mask, int n);

class RentTypeTable {
 public:
  // Refills the table from renttypes: the rows of application `appId`, or of
  // every application when it is -1, in the order the database gives them.
  // Reads in a transaction of its own when none is open and commits it whether
  // or not reading failed. A database error is shown in a message box with the
  // text "Грешка при зареждане на стойности по подразбиране." and goes no
  // further; the rows read so far stay.
  void LoadRentTypes(db::Connection& db, int32_t appId, ui::Messages& messages);
  // The same in the transaction `tx`, which the caller ends.
  void LoadRentTypes(db::Transaction& tx, int32_t appId, ui::Messages& messages);

  // Index of the first entry whose text equals `text` when both are
  // upper-cased, or -1.
  int FindRentType(const std::string& text) const;

  const std::vector<TRentTypeRec>& Entries() const { return entries_; }
  const TRentTypeRec& operator[](size_t index) const { return entries_.at(index); }
  size_t Size() const { return entries_.size(); }

 private:
  std::vector<TRentTypeRec> entries_;
};

}  // namespace zrv::contracts
