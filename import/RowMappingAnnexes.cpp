// The annex rows below a stored contract row.

#include <cmath>
#include <string>

#include "common/Dates.h"
#include "common/Rounding.h"
#include "common/Text.h"
#include "import/ColumnMap.h"
#include "import/RowMapping.h"
#include "schedule/AddAnnex.h"
#include "schedule/Anecs.h"
#include "schedule/ScheduleLimits.h"

namespace zrv::import {

namespace {

bool Later(TDate date, TDate than) {
  return std::trunc(date) > std::trunc(than);
}

}  // namespace

bool RowMapping::ReadAnnexRow(int n, const contracts::TBaseDoc& contract,
                              int32_t docId, const TDate* previousStart,
                              schedule::TAnecsRow& annex) {
  bool ok = true;
  TDate start = 0;
  if (TryParseDate(Cell(column::kStartDate, n), start) &&
      schedule::InScheduleRange(start)) {
    annex.AN_DTStart = start;
    if (previousStart && !Later(start, *previousStart)) {
      errors_.ReportMissing(subject::kAnnexStartNotLater, n, false);
      ok = false;
    }
  } else {
    errors_.ReportMissing(subject::kAnnexStartDate, n, false);
    ok = false;
  }

  if (!TryParseDate(Cell(column::kDrawnUpDate, n), annex.AN_Data)) {
    errors_.ReportMissing(subject::kAnnexDate, n, false);
    ok = false;
  }
  if (!TryParseFloat(Cell(column::kMonthlyRent, n), annex.AN_PRICE)) {
    annex.AN_PRICE = contract.MonthPrice;
  } else if (!IsStorableAmount(annex.AN_PRICE)) {
    errors_.ReportMissing(subject::kAnnexPrice, n, false);
    ok = false;
  }
  if (!TryParseDate(Cell(column::kAnnexEndDate, n), annex.AN_DTStop)) {
    annex.AN_DTStop = contract.StopDate;
  }
  // The annex's stop becomes the contract's stop: one before the annex's
  // start (an empty stop on an annex that starts after the contract's term,
  // or a mistyped one), or one the schedule cannot reach, refuses this annex
  // only.
  if (ok && (Later(annex.AN_DTStart, annex.AN_DTStop) ||
             !schedule::TermInScheduleLimits(contract.StartDate,
                                             annex.AN_DTStop))) {
    errors_.ReportMissing(subject::kAnnexEndDate, n, false);
    ok = false;
  }
  annex.AN_ID = docId;
  annex.AN_FreeDate = annex.AN_DTStart;
  annex.AN_LType = contract.InterestType;
  annex.AN_LPercent = contract.InterestPercent;
  annex.AN_LMAX = contract.InterestMax;
  annex.AN_DDS = contract.VATCode;
  annex.AN_PayDay = static_cast<int16_t>(contract.PayDay);
  return ok;
}

AnnexCounts RowMapping::ReadAnnexes(db::Connection& db,
                                    const contracts::TBaseDoc& contract,
                                    int row) {
  AnnexCounts counts;
  state_.AnnexNumber = 1;
  // Each annex must start after the one stored before it (the contract itself
  // for the first): the annex before it stops the day before the next one
  // starts, so a start on the same day or earlier would leave a period that
  // ends before it begins.
  TDate previousStart = contract.StartDate;
  for (int n = row; Cell(column::kContractNumber, n) == contract.NumberText;
       ++n) {
    if (state_.AnnexNumber > 1) {
      schedule::TAnecsRow annex;
      annex.AN_NUM = state_.AnnexNumber;
      std::string message;  // a refusal leaves the contract as it is; errors
                            // travel on
      if (ReadAnnexRow(n, contract, contract.DocID, &previousStart, annex) &&
          schedule::AddAnnex(db, contract.DocID, annex, false, message)) {
        ++counts.stored;
        previousStart = annex.AN_DTStart;
      } else {
        counts.Drop(n);
      }
    }
    ++state_.AnnexNumber;
  }
  return counts;
}

}  // namespace zrv::import
