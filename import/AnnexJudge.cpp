#include "import/AnnexJudge.h"

#include <cmath>

#include "common/Rounding.h"
#include "import/ColumnMap.h"
#include "import/ErrorList.h"
#include "schedule/ScheduleLimits.h"

namespace zrv::import {

namespace {

bool Later(TDate date, TDate than) { return std::trunc(date) > std::trunc(than); }

}  // namespace

AnnexJudgement JudgeAnnex(const AnnexCells& cells, const contracts::TBaseDoc& contract,
                          int32_t docId, const TDate* previousStart) {
  AnnexJudgement judged;
  schedule::TAnecsRow& annex = judged.annex;
  const auto warn = [&](const char* subject) {
    judged.lines.push_back(MissingLine(subject, cells.row, false));
  };
  bool ok = true;
  if (cells.startRead && schedule::InScheduleRange(cells.start)) {
    annex.AN_DTStart = cells.start;
    // Each annex must start after the one stored before it (the contract
    // itself for the first): the annex before it stops the day before the next
    // one starts, so a start on the same day or earlier would leave a period
    // that ends before it begins.
    if (previousStart && !Later(cells.start, *previousStart)) {
      warn(subject::kAnnexStartNotLater);
      ok = false;
    }
  } else {
    warn(subject::kAnnexStartDate);
    ok = false;
  }
  if (cells.dateRead) {
    annex.AN_Data = cells.date;
  } else {
    warn(subject::kAnnexDate);
    ok = false;
  }
  if (!cells.priceRead) {
    annex.AN_PRICE = contract.MonthPrice;
  } else if (!IsStorableAmount(cells.price)) {
    annex.AN_PRICE = cells.price;
    warn(subject::kAnnexPrice);
    ok = false;
  } else {
    annex.AN_PRICE = cells.price;
  }
  annex.AN_DTStop = cells.stopRead ? cells.stop : contract.StopDate;
  // The annex's stop becomes the contract's stop: one before the annex's start
  // (an empty stop on an annex that starts after the contract's term, or a
  // mistyped one), or one the schedule cannot reach, refuses this annex only.
  if (ok && (Later(annex.AN_DTStart, annex.AN_DTStop) ||
             !schedule::TermInScheduleLimits(contract.StartDate, annex.AN_DTStop))) {
    warn(subject::kAnnexEndDate);
    ok = false;
  }
  annex.AN_ID = docId;
  annex.AN_FreeDate = annex.AN_DTStart;
  annex.AN_LType = contract.InterestType;
  annex.AN_LPercent = contract.InterestPercent;
  annex.AN_LMAX = contract.InterestMax;
  annex.AN_DDS = contract.VATCode;
  annex.AN_PayDay = static_cast<int16_t>(contract.PayDay);
  judged.ok = ok;
  return judged;
}

}  // namespace zrv::import
