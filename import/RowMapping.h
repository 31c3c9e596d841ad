#pragma once
// The mapping of one worksheet row onto what the import stores: the tenant's
// representative and the tenant (person records), the contract and the
// property; and, once the contract is stored, the annex rows below it. Cells
// are read as displayed text; a required value that is missing or does not
// parse adds a FATAL line to the error list and makes its group invalid; a bad
// annex adds a WARNING and is not stored.
//
// One RowMapping serves one run. The two person records live in it and carry
// the fields a row does not set over to the next row. Everything it is given
// must outlive it. Classifier texts become ids on the way (each new classifier
// row is committed at once); database errors travel to the caller, which fails
// the whole row.

#include <cstdint>
#include <string>
#include <vector>

#include "contracts/BaseDoc.h"
#include "contracts/ObjectDB.h"
#include "contracts/PersonTasks.h"
#include "contracts/RentKinds.h"
#include "import/CellReader.h"
#include "import/Classifiers.h"
#include "import/ErrorList.h"
#include "import/RunState.h"
#include "schedule/Anecs.h"

namespace zrv::import {

// The annex rows of one contract row: how many were stored, how many were
// stored already (a row imported again), and which were refused.
struct AnnexCounts {
  int stored = 0;
  int skipped = 0;
  int dropped = 0;
  std::vector<int> droppedRows;  // worksheet rows of the refused annexes

  void Drop(int row) {
    ++dropped;
    droppedRows.push_back(row);
  }
};

struct TextColumn;

class RowMapping {
 public:
  RowMapping(const CellReader& cells, ErrorList& errors,
             Classifiers& classifiers, const contracts::PersonTasks& persons,
             contracts::RentKinds& rentKinds, ImportRunState& state);
  RowMapping(const RowMapping&) = delete;
  RowMapping& operator=(const RowMapping&) = delete;

  // Fills Representative from J (number), and when no stored person has that
  // number from I (name), K (identity document), N (telephone), J again as a
  // registration date. Nothing is required; invalid (a FATAL line each) only
  // when a text cannot be stored.
  bool ReadRepresentative(int row);

  // Fills Tenant from E (number; when empty, F without "BG"), F (VAT number),
  // and when no stored person has that number from D (name), G (settlement), H
  // (address), deciding firm or citizen by the registry-code check. Invalid
  // (one FATAL line) when a new tenant lacks name or number.
  bool ReadTenant(int row);

  // Fills the contract from C, A, B, AE, AD, O, Q, R, AJ, P, S, AC, AI, AG, AH
  // in that order and sets its rent-kind terms. Every column is read even after
  // a failure, so the row shows all its problems; invalid when any FATAL line
  // was added here.
  bool ReadContract(contracts::TBaseDoc& contract, int row);

  // Fills the property from T (settlement, required), AB (cadastral
  // identifier, refused when it cannot be read whole), U, V, W, X, Y; every
  // text is checked before a classifier is looked up or added.
  bool ReadProperty(contracts::TObektDB& property, int row);

  // Whether the property's own texts (X, Y) fit its columns, for a property
  // the row is about to add; a FATAL line each when not. A stored property the
  // row reuses keeps its texts, and the row's are not stored.
  bool CheckNewProperty(const contracts::TObektDB& property, int row);

  // Adds the annexes on the rows from `row` + 1 down that repeat the stored
  // contract's number: annex numbers count from 2, a refused annex uses its
  // number up. Runs on `db` inside the caller's transaction; database errors
  // travel on.
  AnnexCounts ReadAnnexes(db::Connection& db,
                          const contracts::TBaseDoc& contract, int row);

  // The contract row `row` is stored already as contract `docId`: compares the
  // row with it and its annex rows with the stored annexes. An annex row
  // stored already (same start and price) is skipped; one that starts after
  // the last stored annex is added, and the schedule rebuilt once; one that
  // starts on or before a stored annex but differs from it is refused with a
  // WARNING. Contract cells that differ from the stored contract (price AD,
  // start AE, term AC) give one WARNING naming them; stored values are not
  // changed. Runs inside the caller's transaction; errors travel on.
  AnnexCounts ReadAnnexesOfStored(db::Connection& db,
                                  const contracts::TBaseDoc& contract,
                                  int32_t docId, int row);

  contracts::TPersonSrchRec Representative;
  contracts::TPersonSrchRec Tenant;

 private:
  std::string Cell(const char* column, int row) const {
    return cells_.ReadCell(column, row);
  }
  // PER_ID of the person with this number; a number that is empty finds nobody.
  int32_t FindPerson(const std::string& number) const;
  void Fatal(const std::string& subject, int row, bool& valid);
  // The identity number `text` (read from `column`) without blanks: with its
  // leading zero put back when a spreadsheet dropped it (a WARNING line), and
  // a WARNING line when its check digits are wrong. Empty and a FATAL line
  // when the column cannot hold it or it holds a control character.
  std::string IdentityNumber(const std::string& text, const TextColumn& column,
                             int row, bool& valid);
  // The cell of a text column the row stores; a FATAL line when its database
  // column cannot hold it exactly.
  std::string TextCell(const TextColumn& text, int row, bool& valid);
  // Reads annex row `n` of `contract` (stored as `docId`) into `annex` (all
  // but its number), adding a WARNING line for each value that keeps it from
  // being stored; false then. With `previousStart`, an annex that does not
  // start after it is refused too.
  bool ReadAnnexRow(int n, const contracts::TBaseDoc& contract, int32_t docId,
                    const TDate* previousStart, schedule::TAnecsRow& annex);
  // The FATAL line of a text its column cannot hold.
  void TextProblem(const TextColumn& text, int row, bool& valid);

  const CellReader& cells_;
  ErrorList& errors_;
  Classifiers& classifiers_;
  const contracts::PersonTasks& persons_;
  contracts::RentKinds& rentKinds_;
  ImportRunState& state_;
};

}  // namespace zrv::import
