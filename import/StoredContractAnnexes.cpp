// A contract row stored already, imported again: its annex rows against the
// stored annexes, its cells against the stored contract.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/Dates.h"
#include "common/Rounding.h"
#include "common/Text.h"
#include "contracts/store/ContractStore.h"
#include "import/AnnexJudge.h"
#include "import/ColumnMap.h"
#include "import/RowWriter.h"
#include "import/store/RunStore.h"
#include "schedule/AddAnnex.h"
#include "schedule/RebuildSchedule.h"

namespace zrv::import {

namespace {

const char* const kAnnexDiffers =
    "Анексът се различава от записания анекс със същото начало(Анексът не е "
    "записан)";
const char* const kCellsDiffer =
    "Договорът вече е записан с други стойности в колони %s(записаните "
    "стойности не са променени)";

bool SameDay(TDate a, TDate b) { return std::trunc(a) == std::trunc(b); }
bool SameAmount(double a, double b) { return AmountText(a) == AmountText(b); }

struct AnnexRow {
  int row = 0;
  AnnexJudgement judged;
};

}  // namespace

AnnexCounts RowWriter::WriteAnnexesOfStored(db::Transaction& tx, const ContractRow& row,
                                            const contracts::TBaseDoc& contract, int32_t docId) {
  const contracts::StoredTerms stored = contracts::ContractStore(tx).LoadTerms(docId);

  std::vector<AnnexRow> rows;
  for (const AnnexCells& cells : row.annexes)
    rows.push_back({cells.row, JudgeAnnex(cells, contract, docId, nullptr)});

  // The stop the contract has when every stored annex row of the workbook is
  // the stored annex: the last one's stop, or the row's own term.
  TDate expectedStop = contract.StopDate;
  TDate lastStart = stored.start;
  int32_t lastNumber = 1;
  for (const contracts::StoredAnnex& annex : stored.annexes) {
    lastStart = std::max(lastStart, annex.start);
    lastNumber = std::max(lastNumber, annex.number);
  }
  enum class Fate { kRefused, kSkip, kDiffers, kAdd, kBeforeStored };
  std::vector<Fate> fates;
  TDate previousStart = lastStart;
  for (const AnnexRow& r : rows) {
    const schedule::TAnecsRow& annex = r.judged.annex;
    if (!r.judged.ok) {
      fates.push_back(Fate::kRefused);
      continue;
    }
    const auto same = std::find_if(stored.annexes.begin(), stored.annexes.end(),
                                   [&](const contracts::StoredAnnex& a) {
                                     return a.number > 1 && SameDay(a.start, annex.AN_DTStart);
                                   });
    if (same != stored.annexes.end()) {
      const bool samePrice = SameAmount(same->price, annex.AN_PRICE);
      fates.push_back(samePrice ? Fate::kSkip : Fate::kDiffers);
      if (samePrice) expectedStop = annex.AN_DTStop;
    } else if (std::trunc(annex.AN_DTStart) > std::trunc(previousStart)) {
      fates.push_back(Fate::kAdd);
      previousStart = annex.AN_DTStart;
    } else {
      fates.push_back(Fate::kBeforeStored);
    }
  }

  std::vector<std::string> differing;
  if (!SameAmount(contract.MonthPrice, stored.price)) differing.push_back(column::kMonthlyRent);
  if (!SameDay(contract.StartDate, stored.start)) differing.push_back(column::kStartDate);
  if (!SameDay(expectedStop, stored.stop)) differing.push_back(column::kTermMonths);
  if (!differing.empty()) {
    std::string columns;
    for (const std::string& c : differing) columns += (columns.empty() ? "" : ", ") + c;
    errors_.ReportWarning(Format(kCellsDiffer, columns.c_str()), row.row);
  }

  AnnexCounts counts;
  for (size_t i = 0; i < rows.size(); ++i) {
    AnnexRow& r = rows[i];
    errors_.AddLines(r.judged.lines, r.row);
    switch (fates[i]) {
      case Fate::kRefused:
        counts.Drop(r.row);
        break;
      case Fate::kSkip:
        ++counts.skipped;
        break;
      case Fate::kDiffers:
        errors_.ReportWarning(kAnnexDiffers, r.row);
        counts.Drop(r.row);
        break;
      case Fate::kBeforeStored:
        // As on a first import: the annex must start after the one before it.
        errors_.ReportMissing(subject::kAnnexStartNotLater, r.row, false);
        counts.Drop(r.row);
        break;
      case Fate::kAdd: {
        r.judged.annex.AN_NUM = ++lastNumber;
        // What the annex changes, read before it does, for an undo.
        const TraceItem item =
            trace_.RunId() != 0 ? RunStore(tx).AddedAnnex(docId, lastNumber) : TraceItem{};
        std::string message;  // errors travel on
        if (schedule::AddAnnex(tx, docId, r.judged.annex, false, message)) {
          trace_.Record(tx, item);
          ++counts.stored;
        } else {
          counts.Drop(r.row);
        }
        break;
      }
    }
  }
  if (counts.stored > 0) schedule::RebuildSchedule(tx, docId, true);
  return counts;
}

}  // namespace zrv::import
