#pragma once
// A stored rent schedule loaded back for computing a contract's state: the rows
// of RENTSINFO with their due dates and the annex in force, plus the advance
// row that holds money paid beyond the schedule.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/db/Database.h"
#include "schedule/Anecs.h"
#include "schedule/RentInfo.h"

namespace zrv::state {

// The due date of a period paid on `day` of the month reached from year/month
// by the pay-month code (0: one month back, 1: the same month, 2: one month on,
// 3: two months on). The day is kept within the month reached: 31 in April
// gives 30 April, 30 in February 2024 gives 29.
TDate PayDayDate(int year, int month, int day, int monthCode);

class TLoadedRentInfo : public schedule::TRentInfo {
 public:
  // Which way NextOpenRow looks for a row.
  enum class OpenBy { Paid, Remaining };

  int32_t ContractType = 0;  // DOC_TYPE
  bool HandEntered = false;  // the schedule was typed in, not built
  TDate DueDateLimit = 0;    // termination date when set, else the contract's stop
  const schedule::TAnecses* Annexes = nullptr;  // the contract's annexes; not owned
  schedule::TRentRow AdvanceRow;  // its paid field (RI_CARRIED) holds money paid beyond
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
  schedule::TRentRow* FindByPeriod(int32_t key);

  // The row an amount moves on to from `current` (a row of the list, the
  // advance row or nullptr), or nullptr. By paid: `current` again or a later
  // row with money paid, else the advance row when it holds money, else the
  // last row with money paid. By remaining: `current` again or a later open
  // row, else the first open row before it; from the advance row or none, the
  // first open row.
  schedule::TRentRow* NextOpenRow(OpenBy by, schedule::TRentRow* current);

  // Indexes of the rows by period and by what is paid and open on them, so
  // that FindByPeriod and NextOpenRow need not walk the list. A state
  // computation indexes the rows once it has reset them and tells every later
  // change of a row's paid or remaining amount through RowChanged; without an
  // index (or after ForgetIndex, and whenever rows are added or removed) both
  // walk the list as before.
  void IndexRows();
  void RowChanged(const schedule::TRentRow& row);
  void ForgetIndex() { indexed_ = false; }
  // List index of the first open row (remaining of a cent or more) at or after
  // `from`, or -1.
  int NextOpenIndex(int from) const;

  // Rows are added and removed only through these, which drop the index.
  void Clear() {
    ForgetIndex();
    schedule::TRentInfo::Clear();
  }
  schedule::TRentRow& Append() {
    ForgetIndex();
    return schedule::TRentInfo::Append();
  }

  // Is the row the advance row?
  bool IsAdvance(const schedule::TRentRow* row) const { return row == &AdvanceRow; }
  // VAT rate in percent of the annex in force for the row; 0 when it has none.
  double AnnexVatRate(const schedule::TRentRow& row) const;

 private:
  // One bit per list index.
  class RowBits {
   public:
    void Reset(int count) { words_.assign((count + 63) / 64, 0); }
    void Set(int index, bool on);
    // The first set bit at or after `from`, the last set bit; -1 when none.
    int NextFrom(int from) const;
    int Last() const;

   private:
    std::vector<uint64_t> words_;
  };

  // List index of the first row paid a cent or more at or after `from`, and of
  // the last such row; -1 when none.
  int NextPaidIndex(int from) const;
  int LastPaidIndex() const;

  bool indexed_ = false;
  std::unordered_map<int32_t, int> byPeriod_;  // key -> first row's index
  RowBits open_;                               // remaining of a cent or more
  RowBits paid_;                               // paid a cent or more
};

}  // namespace zrv::state
