#include "schedule/LoadedRentInfo.h"

#include <algorithm>
#include <cmath>

namespace zrv::schedule {

namespace {

constexpr double kCent = 0.01;

bool BuiltMonthly(int32_t type) {
  return type == 1002 || type == 1400 || type == -1002 || type == -1400;
}

double Paid(const TRentRow& row) { return row.RI_CARRIED; }
double Open(const TRentRow& row) { return row.Remaining; }

// The row's stored day of its month, or the 1st when that day does not exist.
TDate StoredDayDate(const TRentRow& row) {
  TDate due = 0;
  if (!TryEncodeDate(row.RI_YEAR, row.RI_MONTH, row.PaidDays, due)) {
    due = EncodeDate(row.RI_YEAR, row.RI_MONTH, 1);
  }
  return due;
}

}  // namespace

TDate PayDayDate(int year, int month, int day, int monthCode) {
  int y = 0, m = 0, d = 0;
  DecodeDate(IncMonth(EncodeDate(year, month, 1), monthCode - 1), y, m, d);
  return EncodeDate(y, m, std::clamp(day, 1, DaysInMonth(y, m)));
}

void TLoadedRentInfo::LoadFromQuery(db::Query& query, int32_t contractType,
                                    bool handEntered) {
  Clear();
  ContractType = contractType;
  HandEntered = handEntered;
  const bool hasAutoGenId = query.FindField("RI_AutoGenID") != nullptr;
  for (; !query.Eof(); query.Next()) {
    TRentRow& row = Append();
    row.RI_DOCID = query.FieldByName("RI_DOCID").AsInteger();
    row.RI_YEAR =
        static_cast<int16_t>(query.FieldByName("RI_YEAR").AsInteger());
    row.RI_MONTH =
        static_cast<int16_t>(query.FieldByName("RI_MONTH").AsInteger());
    row.RI_PRICE = query.FieldByName("RI_PRICE").AsFloat();
    row.RI_CARRIED = query.FieldByName("RI_CARRIED").AsFloat();
    row.RI_DTSTART = std::trunc(query.FieldByName("RI_DTStart").AsDateTime());
    row.RI_DAYS = query.FieldByName("RI_DAYS").AsInteger();
    row.PaidDays = query.FieldByName("RI_PAIDDAYS").AsInteger();
    if (hasAutoGenId)
      row.AutoGenID = query.FieldByName("RI_AutoGenID").AsInteger();
    row.PeriodEnd = row.RI_DTSTART + row.RI_DAYS - 1;
  }
  ComputeDueDates();
}

void TLoadedRentInfo::ComputeDueDates() {
  const int annexCount = Annexes ? Annexes->Count() : 0;
  const bool byPayDay = BuiltMonthly(ContractType) && !HandEntered;
  int j = 0;
  for (int i = 0; i < Count(); ++i) {
    TRentRow& row = *At(i);
    if (annexCount == 0) {
      row.AnnexIndex = -1;
      row.DueDate = StoredDayDate(row);
      continue;
    }
    while (j < annexCount - 1 &&
           !DateBetween(row.PeriodEnd, Annexes->At(j).AN_DTStart,
                        Annexes->At(j).AN_DTStop)) {
      ++j;
    }
    row.AnnexIndex = j;
    if (!byPayDay) {
      row.DueDate = StoredDayDate(row);
      continue;
    }
    const TAnecsRow& annex = Annexes->At(j);
    TDate due =
        PayDayDate(row.RI_YEAR, row.RI_MONTH, annex.PayDay, annex.PayMonth);
    due = std::max(due, Annexes->At(0).AN_DTStart);
    due = std::min(due, annex.AN_DTStop);
    // A contract stored without a stop has no limit rather than every period
    // due on day 0.
    if (DueDateLimit != 0) due = std::min(due, DueDateLimit);
    row.DueDate = due;
  }
}

TRentRow* TLoadedRentInfo::FindByPeriod(int32_t key) {
  for (int i = 0; i < Count(); ++i) {
    if (At(i)->PeriodKey() == key) return At(i);
  }
  return nullptr;
}

TRentRow* TLoadedRentInfo::NextOpenRow(OpenBy by, TRentRow* current) {
  const bool inList = current != nullptr && !IsAdvance(current);
  const int from = inList ? current->ListIndex : -1;
  if (by == OpenBy::Paid) {
    if (inList) {
      for (int i = from; i < Count(); ++i) {
        if (Paid(*At(i)) >= kCent) return At(i);
      }
    }
    if (Paid(AdvanceRow) >= kCent) return &AdvanceRow;
    for (int i = Count() - 1; i >= 0; --i) {
      if (Paid(*At(i)) >= kCent) return At(i);
    }
    return nullptr;
  }
  if (inList) {
    for (int i = from; i < Count(); ++i) {
      if (Open(*At(i)) >= kCent) return At(i);
    }
  }
  for (int i = 0; i < (inList ? from : Count()); ++i) {
    if (Open(*At(i)) >= kCent) return At(i);
  }
  return nullptr;
}

double TLoadedRentInfo::AnnexVatRate(const TRentRow& row) const {
  if (!Annexes || row.AnnexIndex < 0 || row.AnnexIndex >= Annexes->Count())
    return 0;
  return Annexes->At(row.AnnexIndex).VatRate;
}

}  // namespace zrv::schedule
