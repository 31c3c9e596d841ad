#pragma once
// The monthly rent schedule of a contract (table RENTSINFO): one row per period
// with its year and month, first day, number of days and rent. A schedule is
// built from the annexes and stored, or loaded back with the fields that record
// its state at a date (what is paid, open, overdue).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/Dates.h"

namespace zrv::schedule {

// The values of one period. The first group are the stored columns and what the
// builder sets; the second group is filled when a stored schedule is loaded and
// its state computed, and is zero or empty otherwise.
struct TRentRowValues {
  int32_t RI_DOCID = 0;
  int16_t RI_YEAR = 0;     // year the period belongs to
  int16_t RI_MONTH = 0;    // month 1-12 the period belongs to
  int32_t RI_DAYS = 0;     // number of days of the period
  double RI_PRICE = 0;     // rent of the period
  TDate RI_DTSTART = 0;    // first day of the period (whole day)
  double RI_CARRIED = 0;   // amount settled on the period; the paid amount of a loaded row
  bool LastAnnex = false;  // the period starts under the contract's last annex

  int32_t PaidDays = 0;   // RI_PAIDDAYS; day of the due date for a hand-entered schedule
  int32_t AutoGenID = 0;  // RI_AutoGenID where the table has it
  TDate PeriodEnd = 0;    // RI_DTSTART + RI_DAYS - 1
  TDate DueDate = 0;
  int AnnexIndex = -1;  // annex in force at the period end; -1 until due dates are known
  double VatOfPaid = 0;
  double Remaining = 0;  // price still open on the period
  double VatOfRemaining = 0;
  double Interest = 0;      // late-payment interest at the interest date
  double InterestPaid = 0;  // part of paid interest assigned to the period
  int32_t OverdueDays = 0;
  std::string InterestText;  // explanation of the interest and the period total
  std::string PaidToText;    // "към " and a date, or "не са плащани"
};

// One period of a schedule, owned by a TRentInfo. It keeps the position it was
// created at; CopyFrom copies every value of another row but not that position.
struct TRentRow : TRentRowValues {
  TRentRow() = default;
  TRentRow(const TRentRow&) = delete;
  TRentRow& operator=(const TRentRow&) = delete;

  void CopyFrom(const TRentRow& other) { static_cast<TRentRowValues&>(*this) = other; }
  // RI_YEAR × 100 + RI_MONTH: March 2024 is 202403.
  int32_t PeriodKey() const { return RI_YEAR * 100 + RI_MONTH; }

  int ListIndex = -1;  // position in the list at creation
};

// The rows of one schedule in schedule order; owns them.
class TRentInfo {
 public:
  TRentInfo() = default;
  TRentInfo(const TRentInfo&) = delete;
  TRentInfo& operator=(const TRentInfo&) = delete;

  // Frees every row.
  void Clear() { rows_.clear(); }
  // Appends a new zero row whose list index is its position, and gives it.
  TRentRow& Append();
  int Count() const { return static_cast<int>(rows_.size()); }
  bool Empty() const { return rows_.empty(); }
  // The row at `index`, or nullptr when the index lies outside the list.
  TRentRow* At(int index);
  const TRentRow* At(int index) const;
  // The first and the last row, or nullptr for an empty list.
  const TRentRow* First() const { return At(0); }
  const TRentRow* Last() const { return At(Count() - 1); }
  TRentRow* Last() { return At(Count() - 1); }

 private:
  std::vector<std::unique_ptr<TRentRow>> rows_;
};

}  // namespace zrv::schedule
