// The annex rows below a stored contract row.

#include <string>

#include "common/Dates.h"
#include "common/Text.h"
#include "import/ColumnMap.h"
#include "import/RowMapping.h"
#include "schedule/AddAnnex.h"
#include "schedule/Anecs.h"

namespace zrv::import {

AnnexCounts RowMapping::ReadAnnexes(db::Connection& db,
                                    const contracts::TBaseDoc& contract,
                                    int row) {
  AnnexCounts counts;
  state_.AnnexNumber = 1;
  for (int n = row; Cell(column::kContractNumber, n) == contract.NumberText;
       ++n) {
    if (state_.AnnexNumber > 1) {
      bool ok = true;
      schedule::TAnecsRow annex;
      annex.AN_ID = contract.DocID;
      annex.AN_NUM = state_.AnnexNumber;

      TDate start = 0;
      if (TryParseDate(Cell(column::kStartDate, n), start)) {
        annex.AN_DTStart = start;
        if (start <= contract.StartDate) {
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
      }
      if (!TryParseDate(Cell(column::kAnnexEndDate, n), annex.AN_DTStop)) {
        annex.AN_DTStop = contract.StopDate;
      }
      annex.AN_FreeDate = annex.AN_DTStart;
      annex.AN_LType = contract.InterestType;
      annex.AN_LPercent = contract.InterestPercent;
      annex.AN_LMAX = contract.InterestMax;
      annex.AN_DDS = contract.VATCode;
      annex.AN_PayDay = static_cast<int16_t>(contract.PayDay);

      if (ok) {
        std::string message;  // a refusal leaves the contract as it is; errors
                              // travel on
        if (schedule::AddAnnex(db, contract.DocID, annex, false, message)) {
          ++counts.stored;
        } else {
          ++counts.dropped;
        }
      } else {
        ++counts.dropped;
      }
    }
    ++state_.AnnexNumber;
  }
  return counts;
}

}  // namespace zrv::import
