#pragma once
// The characteristic working set: the characteristics the application defines
// (CHARACTERISTICS) with the values one contract gives them, and the statements
// that store those values per contract (CHARACTERISTICS_DOC).
//
// One object is made at start-up with the connection, the message boxes, the
// calculator binding and the application identifier; it lives as long as the
// connection and is used by the contract document to load and save a contract's
// characteristics. Without a calculator (the import's case) the working set
// stays empty: loading defaults and inserting rows do nothing, deleting a
// contract's rows still works. Single-threaded; the references must outlive the
// object.

#include <cstdint>
#include <string>
#include <vector>

#include "contracts/AppIdentifier.h"
#include "contracts/PHPCalc.h"
#include "platform/db/Database.h"
#include "platform/ui/Messages.h"

namespace zrv::contracts {

// One characteristic with the value a contract gives it.
struct TCharacteristic {
  int32_t CH_ID = 0;
  std::string VarName;     // the name under which the calculator knows it
  std::string Value;       // default CH_VALUE, or the contract's CD_VALUE
  std::string NoUseValue;  // default CH_NO_USE_VALUE, or the contract's CD_NO_USE_VALUE
  std::string Text;        // the caption
  bool Checked = false;    // false after loading defaults; the contract's CD_CHECKED = "T"
};

class TCharacteristicsCommonTasks {
 public:
  TCharacteristicsCommonTasks(db::Connection& db, ui::Messages& messages,
                              const TPHPCommonTasks& calculator, int32_t appId = kAppID);
  TCharacteristicsCommonTasks(const TCharacteristicsCommonTasks&) = delete;
  TCharacteristicsCommonTasks& operator=(const TCharacteristicsCommonTasks&) = delete;

  // Refills the working set with the application's characteristics and their
  // default values and gives the calculator a variable for each. Does nothing
  // at all without a calculator. A database error is shown in a message box and
  // goes no further; entries read so far stay.
  void LoadCharacteristicDefaults();

  // Set the field in every entry with that id; an id no entry has changes
  // nothing.
  void SetCharChecked(int32_t chId, bool checked);
  void SetCharValue(int32_t chId, const std::string& value);
  void SetCharNoUseValue(int32_t chId, const std::string& value);

  // A copy of the entry with that id (the last one when several have it).
  // Throws zrv::Error when no entry has it.
  TCharacteristic GetCharEntry(int32_t chId) const;

  // The working set in load order.
  const std::vector<TCharacteristic>& Entries() const { return entries_; }

  // Deletes the contract's CHARACTERISTICS_DOC rows and gives true. Runs in the
  // caller's transaction or in one of its own. On an error shows
  // "uPHPCalc:Проблем при изтриване от БД", rolls back a transaction it started
  // and throws the error on.
  bool DeleteDocCharacteristics(int32_t docId);
  // The same in the transaction `tx`, which the caller ends.
  bool DeleteDocCharacteristics(db::Transaction& tx, int32_t docId);

  // Stores the working-set entry with that id as a row of the contract and
  // gives true; gives false at once without a calculator. Runs in the caller's
  // transaction or in one of its own; errors roll back a transaction it started
  // and travel on.
  bool InsertDocCharacteristic(int32_t docId, int32_t chId);
  bool InsertDocCharacteristic(db::Transaction& tx, int32_t docId, int32_t chId);

  bool HasCalculator() const { return calculator_.HasCalculator(); }
  int32_t AppId() const { return appId_; }

 private:
  db::Connection& db_;
  ui::Messages& messages_;
  const TPHPCommonTasks& calculator_;
  int32_t appId_;
  std::vector<TCharacteristic> entries_;
};

}  // namespace zrv::contracts
