#pragma once
// A stored rent schedule loaded back for computing a contract's state: the rows
// of RENTSINFO with their due dates and the annex in force, plus the advance
// row that holds money paid beyond the schedule.

#include <cstdint>

#include "platform/db/Database.h"
#include "schedule/Anecs.h"
#include "schedule/RentInfo.h"

namespace zrv::schedule {

// The due date of a period paid on `day` of the month reached from year/month
// by the pay-month code (0: one month back, 1: the same month, 2: one month on,
// 3: two months on). The day is kept within the month reached: 31 in April
// gives 30 April, 30 in February 2024 gives 29.
TDate PayDayDate(int year, int month, int day, int monthCode);

class TLoadedRentInfo : public TRentInfo {
 public:
  // Which way NextOpenRow looks for a row.
  enum class OpenBy { Paid, Remaining };

  int32_t ContractType = 0;  // DOC_TYPE
  bool HandEntered = false;  // the schedule was typed in, not built
  TDate DueDateLimit =
      0;  // termination date when set, else the contract's stop
  const TAnecses* Annexes = nullptr;  // the contract's annexes; not owned
  TRentRow AdvanceRow;  // its paid field (RI_CARRIED) holds money paid beyond
                        // the schedule

  // Clears the list, keeps type and flag, reads one row per record of an open
  // query over RENTSINFO (the period end, zero state and annex index -1 per
  // row), then ComputeDueDates.
  void LoadFromQuery(db::Query& query, int32_t contractType, bool handEntered);

  // Sets each row's annex index (the annex in force at its period end, the last
  // when none holds it) and due date. Built schedules of the monthly types fall
  // due on the annex's pay day, no earlier than the contract's start and no
  // later than the annex's stop and the due-date limit; other schedules on the
  // stored day of month (RI_PAIDDAYS), or the 1st when that day does not exist.
  // Without annexes every row falls due on its stored day.
  void ComputeDueDates();

  // The first row of the period key, or nullptr.
  TRentRow* FindByPeriod(int32_t key);

  // The row an amount moves on to from `current` (a row of the list, the
  // advance row or nullptr), or nullptr. By paid: `current` again or a later
  // row with money paid, else the advance row when it holds money, else the
  // last row with money paid. By remaining: `current` again or a later open
  // row, else the first open row before it; from the advance row or none, the
  // first open row.
  TRentRow* NextOpenRow(OpenBy by, TRentRow* current);

  // Is the row the advance row?
  bool IsAdvance(const TRentRow* row) const { return row == &AdvanceRow; }
  // VAT rate in percent of the annex in force for the row; 0 when it has none.
  double AnnexVatRate(const TRentRow& row) const;
};

}  // namespace zrv::schedule
