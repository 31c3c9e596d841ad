#include "state/LoadedRentInfo.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace zrv::state {

namespace {

constexpr double kCent = 0.01;

bool BuiltMonthly(int32_t type) {
  return type == 1002 || type == 1400 || type == -1002 || type == -1400;
}

double Paid(const schedule::TRentRow& row) { return row.RI_CARRIED; }
double Open(const schedule::TRentRow& row) { return row.Remaining; }

// The row's stored day of its month, or the 1st when that day does not exist.
TDate StoredDayDate(const schedule::TRentRow& row) {
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

void TLoadedRentInfo::LoadFromQuery(db::Query& query, int32_t contractType, bool handEntered) {
  Clear();
  ContractType = contractType;
  HandEntered = handEntered;
  if (!query.Eof()) {
    // Columns looked up by name once for all rows.
    const db::Field* autoGenId = query.FindField("RI_AutoGenID");
    const db::Field& docId = query.FieldByName("RI_DOCID");
    const db::Field& year = query.FieldByName("RI_YEAR");
    const db::Field& month = query.FieldByName("RI_MONTH");
    const db::Field& price = query.FieldByName("RI_PRICE");
    const db::Field& carried = query.FieldByName("RI_CARRIED");
    const db::Field& start = query.FieldByName("RI_DTStart");
    const db::Field& days = query.FieldByName("RI_DAYS");
    const db::Field& paidDays = query.FieldByName("RI_PAIDDAYS");
    for (; !query.Eof(); query.Next()) {
      schedule::TRentRow& row = Append();
      row.RI_DOCID = docId.AsInteger();
      row.RI_YEAR = static_cast<int16_t>(year.AsInteger());
      row.RI_MONTH = static_cast<int16_t>(month.AsInteger());
      row.RI_PRICE = price.AsFloat();
      row.RI_CARRIED = carried.AsFloat();
      row.RI_DTSTART = std::trunc(start.AsDateTime());
      row.RI_DAYS = days.AsInteger();
      row.PaidDays = paidDays.AsInteger();
      if (autoGenId) row.AutoGenID = autoGenId->AsInteger();
      row.PeriodEnd = row.RI_DTSTART + row.RI_DAYS - 1;
    }
  }
  ComputeDueDates();
}

void TLoadedRentInfo::ComputeDueDates() {
  const int annexCount = Annexes ? Annexes->Count() : 0;
  const bool byPayDay = BuiltMonthly(ContractType) && !HandEntered;
  int j = 0;
  for (int i = 0; i < Count(); ++i) {
    schedule::TRentRow& row = *At(i);
    if (annexCount == 0) {
      row.AnnexIndex = -1;
      row.DueDate = StoredDayDate(row);
      continue;
    }
    while (j < annexCount - 1 &&
           !DateBetween(row.PeriodEnd, Annexes->At(j).AN_DTStart, Annexes->At(j).AN_DTStop)) {
      ++j;
    }
    row.AnnexIndex = j;
    if (!byPayDay) {
      row.DueDate = StoredDayDate(row);
      continue;
    }
    const schedule::TAnecsRow& annex = Annexes->At(j);
    TDate due = PayDayDate(row.RI_YEAR, row.RI_MONTH, annex.PayDay, annex.PayMonth);
    due = std::max(due, Annexes->At(0).AN_DTStart);
    due = std::min(due, annex.AN_DTStop);
    // A contract stored without a stop has no limit rather than every period
    // due on day 0.
    if (DueDateLimit != 0) due = std::min(due, DueDateLimit);
    row.DueDate = due;
  }
}

schedule::TRentRow* TLoadedRentInfo::FindByPeriod(int32_t key) {
  if (indexed_) {
    const auto it = byPeriod_.find(key);
    return it == byPeriod_.end() ? nullptr : At(it->second);
  }
  for (int i = 0; i < Count(); ++i) {
    if (At(i)->PeriodKey() == key) return At(i);
  }
  return nullptr;
}

void TLoadedRentInfo::IndexRows() {
  byPeriod_.clear();
  open_.Reset(Count());
  paid_.Reset(Count());
  for (int i = 0; i < Count(); ++i) {
    byPeriod_.emplace(At(i)->PeriodKey(), i);  // the first row of a key wins
    open_.Set(i, Open(*At(i)) >= kCent);
    paid_.Set(i, Paid(*At(i)) >= kCent);
  }
  indexed_ = true;
}

void TLoadedRentInfo::RowChanged(const schedule::TRentRow& row) {
  if (!indexed_ || IsAdvance(&row)) return;
  open_.Set(row.ListIndex, Open(row) >= kCent);
  paid_.Set(row.ListIndex, Paid(row) >= kCent);
}

int TLoadedRentInfo::NextOpenIndex(int from) const {
  if (indexed_) return open_.NextFrom(from);
  for (int i = std::max(from, 0); i < Count(); ++i) {
    if (Open(*At(i)) >= kCent) return i;
  }
  return -1;
}

schedule::TRentRow* TLoadedRentInfo::NextOpenRow(OpenBy by, schedule::TRentRow* current) {
  const bool inList = current != nullptr && !IsAdvance(current);
  const int from = inList ? current->ListIndex : -1;
  if (by == OpenBy::Paid) {
    if (inList) {
      if (schedule::TRentRow* row = At(NextPaidIndex(from))) return row;
    }
    if (Paid(AdvanceRow) >= kCent) return &AdvanceRow;
    return At(LastPaidIndex());
  }
  if (inList) {
    if (schedule::TRentRow* row = At(NextOpenIndex(from))) return row;
  }
  // The first open row; when looking on from a row, one before it, as none
  // lies after it.
  return At(NextOpenIndex(0));
}

int TLoadedRentInfo::NextPaidIndex(int from) const {
  if (indexed_) return paid_.NextFrom(from);
  for (int i = std::max(from, 0); i < Count(); ++i) {
    if (Paid(*At(i)) >= kCent) return i;
  }
  return -1;
}

int TLoadedRentInfo::LastPaidIndex() const {
  if (indexed_) return paid_.Last();
  for (int i = Count() - 1; i >= 0; --i) {
    if (Paid(*At(i)) >= kCent) return i;
  }
  return -1;
}

void TLoadedRentInfo::RowBits::Set(int index, bool on) {
  const uint64_t bit = uint64_t{1} << (index % 64);
  if (on) {
    words_[index / 64] |= bit;
  } else {
    words_[index / 64] &= ~bit;
  }
}

int TLoadedRentInfo::RowBits::NextFrom(int from) const {
  if (from < 0) from = 0;
  size_t w = from / 64;
  if (w >= words_.size()) return -1;
  uint64_t word = words_[w] & (~uint64_t{0} << (from % 64));
  while (word == 0) {
    if (++w == words_.size()) return -1;
    word = words_[w];
  }
  return static_cast<int>(w * 64) + std::countr_zero(word);
}

int TLoadedRentInfo::RowBits::Last() const {
  for (size_t w = words_.size(); w-- > 0;) {
    if (words_[w] != 0) return static_cast<int>(w * 64) + 63 - std::countl_zero(words_[w]);
  }
  return -1;
}

double TLoadedRentInfo::AnnexVatRate(const schedule::TRentRow& row) const {
  if (!Annexes || row.AnnexIndex < 0 || row.AnnexIndex >= Annexes->Count()) return 0;
  return Annexes->At(row.AnnexIndex).VatRate;
}

}  // namespace zrv::state
