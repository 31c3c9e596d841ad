#pragma once
// Whether an annex row is stored: its cells judged against its contract and
// the annex before it. Database-free.

#include <cstdint>

#include "common/Dates.h"
#include "contracts/BaseDoc.h"
#include "import/ContractRow.h"
#include "schedule/Anecs.h"

namespace zrv::import {

struct AnnexJudgement {
  bool ok = false;
  Lines lines;                // WARNING lines of what keeps it from being stored
  schedule::TAnecsRow annex;  // every field but its number
};

// Judges annex row `cells` of `contract`, stored as `docId`. Its lines come in
// the order of the checks: the start (AE: a date in the schedule's years, and
// after `previousStart` when one is given), the annex's date (B), its price
// (AD, the contract's price when empty; below 10^17), its stop (AF, the
// contract's stop when empty; not before the start and within the schedule's
// limits). The annex takes the contract's interest, VAT and pay-day terms.
AnnexJudgement JudgeAnnex(const AnnexCells& cells, const contracts::TBaseDoc& contract,
                          int32_t docId, const TDate* previousStart);

}  // namespace zrv::import
