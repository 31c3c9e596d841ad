#include "import/RowMapping.h"

#include <limits>

#include "common/Dates.h"
#include "common/Rounding.h"
#include "common/Text.h"
#include "contracts/StatementText.h"
#include "import/AreaUnits.h"
#include "import/ColumnMap.h"
#include "schedule/ScheduleLimits.h"

namespace zrv::import {

// A text column of the contract: what the row's FATAL line calls it, and the
// characters its database column holds.
struct ContractText {
  const char* column;
  const char* name;
  size_t limit;
};

namespace {

const char* const kDocTypeText = "Наем";
constexpr int16_t kMonthlyRentContract = 1002;
const char* const kYes = "Д";
const char* const kVatPrefix = "BG";
// A cadastral group too large for its property column; the row is refused with
// this subject.
const char* const kCadastralSubject =
    "кадастрален идентификатор(или въведената стойност е невалидна)";
constexpr size_t kAddressLength = 250;
constexpr int kLastYear = 9999;
const char* const kScheduleLimitsText =
    "(датите трябва да са в годините %d - %d, а срокът - до %d месеца)";

const ContractText kNumberText{column::kContractNumber, "номер на договор", 50};
const ContractText kContractTexts[] = {
    {column::kContractText, "текст на договора", 250},
    {column::kObjectType, "вид обект", 250},
    {column::kComment, "коментар", 1000},
    {column::kPurpose, "предназначение", 1000},
    {column::kAdditionalText, "допълнителен текст", 1000},
};
const char* const kTextLimit =
    "%s(колона %s: най-много %zu знака, само от кодовата таблица "
    "Windows-1251)";

std::string ReplaceAll(std::string text, const std::string& what,
                       const std::string& with) {
  for (auto pos = text.find(what); pos != std::string::npos;
       pos = text.find(what, pos + with.size())) {
    text.replace(pos, what.size(), with);
  }
  return text;
}

// The stop date `months` calendar months after `start` (the day cut to the
// month's length); false for a negative term or one that ends after the last
// representable year.
bool StopAfterMonths(TDate start, int32_t months, TDate& stop) {
  if (months < 0) return false;
  int year = 0, month = 0, day = 0;
  DecodeDate(start, year, month, day);
  const int64_t target = int64_t{year} * 12 + (month - 1) + months;
  if (target / 12 > kLastYear) return false;
  stop = IncMonth(start, months);
  return true;
}

// The integer of the text, 0 when it is not one.
int32_t IntOrZero(const std::string& text) {
  int32_t value = 0;
  return TryParseInt(text, value) ? value : 0;
}

bool FitsSmallInt(int32_t value) {
  return value >= std::numeric_limits<int16_t>::min() &&
         value <= std::numeric_limits<int16_t>::max();
}

struct CadastralGroups {
  int32_t masivNo = 0;
  std::string nparText = "0";
  int32_t nn = 0;
  int32_t ni = 0;
};

// The parts of a cadastral identifier the property keeps. The dotted form drops
// its first group (the settlement's code) and keeps the next four; missing
// groups give 0. Without a full stop it is the six-character form: characters 1
// to 3 and 4 to 6.
CadastralGroups SplitCadastralId(const std::string& text) {
  CadastralGroups groups;
  if (text.find('.') != std::string::npos) {
    std::string rest = text;
    NextNumberGroup(rest);
    groups.masivNo = NextNumberGroup(rest);
    groups.nparText = std::to_string(NextNumberGroup(rest));
    groups.nn = NextNumberGroup(rest);
    groups.ni = NextNumberGroup(rest);
    return groups;
  }
  const std::string first = Utf8Left(text, 3);
  const std::string second = Utf8Left(text.substr(first.size()), 3);
  groups.masivNo = IntOrZero(first);
  groups.nparText = std::to_string(IntOrZero(second));
  return groups;
}

}  // namespace

RowMapping::RowMapping(const CellReader& cells, ErrorList& errors,
                       Classifiers& classifiers,
                       const contracts::PersonTasks& persons,
                       contracts::RentKinds& rentKinds, ImportRunState& state)
    : cells_(cells),
      errors_(errors),
      classifiers_(classifiers),
      persons_(persons),
      rentKinds_(rentKinds),
      state_(state) {}

int32_t RowMapping::FindPerson(const std::string& number) const {
  // An empty number would find whichever stored person happens to have none and
  // tie the row to an unrelated person; it finds nobody instead.
  if (number.empty()) return -1;
  return persons_.FindByEGN(number);
}

void RowMapping::Fatal(const std::string& subject, int row, bool& valid) {
  errors_.ReportMissing(subject, row, true);
  valid = false;
}

std::string RowMapping::IdentityNumber(const std::string& text,
                                       const char* column, int row) {
  const std::string number = WithoutBlanks(text);
  // A wrong check digit changes nothing of what is stored, but the clerk is
  // told.
  if (HasWrongCheckDigit(number))
    errors_.ReportMissing(subject::kCheckDigit + std::string(column), row,
                          false);
  return number;
}

std::string RowMapping::ContractTextCell(const ContractText& text, int row,
                                         bool& valid) {
  std::string value = Cell(text.column, row);
  // Refused before anything is written: a NUL would cut the stored text, a
  // longer text or a character outside the code page would fail in the
  // database with the engine's own message.
  if (!contracts::FitsTextColumn(value, text.limit))
    Fatal(Format(kTextLimit, text.name, text.column, text.limit), row, valid);
  return value;
}

void RowMapping::ReadRepresentative(int row) {
  auto& rep = Representative;
  rep.EGN = IdentityNumber(Cell(column::kRepresentativeNumber, row),
                           column::kRepresentativeNumber, row);
  rep.ID = FindPerson(rep.EGN);
  if (rep.ID != -1) return;
  rep.Name = Cell(column::kRepresentativeName, row);
  rep.PData = Cell(column::kRepresentativeDocument, row);
  rep.Telefon = Cell(column::kRepresentativePhone, row);
  rep.Flag = 'T';
  TryParseDate(Cell(column::kRepresentativeNumber, row), rep.DateReg);
}

bool RowMapping::ReadTenant(int row) {
  bool valid = true;
  auto& tenant = Tenant;
  tenant.InDDS = Cell(column::kTenantVatNumber, row);
  const std::string number = Cell(column::kTenantNumber, row);
  tenant.EGN = !number.empty()
                   ? IdentityNumber(number, column::kTenantNumber, row)
                   : IdentityNumber(ReplaceAll(tenant.InDDS, kVatPrefix, " "),
                                    column::kTenantVatNumber, row);
  tenant.ID = FindPerson(tenant.EGN);
  if (tenant.ID == -1) {
    tenant.Name = Cell(column::kTenantName, row);
    if (tenant.Name.empty() || tenant.EGN.empty())
      Fatal(subject::kTenant, row, valid);
    tenant.Flag = IsValidBulstat(tenant.EGN) ? 'F' : 'T';
    tenant.NM = Cell(column::kTenantSettlement, row);
    tenant.Addr = Cell(column::kTenantAddress, row);
  }
  // A representative without a number is the one the stored tenant already
  // has under that name, not a new person on every row.
  auto& rep = Representative;
  if (rep.ID == -1 && rep.EGN.empty() && !rep.Name.empty() && tenant.ID != -1)
    rep.ID = persons_.FindRepresentative(tenant.ID, rep.Name);
  return valid;
}

bool RowMapping::ReadContract(contracts::TBaseDoc& contract, int row) {
  bool valid = true;

  const std::string rentType = Cell(column::kRentType, row);
  if (!Trim(rentType).empty()) {
    contract.RentTypeID = classifiers_.GetRentTypeID(rentType);
  } else {
    Fatal(subject::kRentType, row, valid);
  }
  rentKinds_.ApplyRentKind(rentType);

  const std::string number = ContractTextCell(kNumberText, row, valid);
  if (number.empty()) {
    Fatal(subject::kContractNumber, row, valid);
  } else {
    contract.NumberText = number;
  }

  if (!TryParseDate(Cell(column::kDrawnUpDate, row), contract.DocDate)) {
    Fatal(subject::kDrawnUpDate, row, valid);
  }
  const bool started =
      TryParseDate(Cell(column::kStartDate, row), contract.StartDate);
  if (!started) Fatal(subject::kStartDate, row, valid);

  const std::string price = Cell(column::kMonthlyRent, row);
  double monthPrice = 0;
  if (!price.empty() && TryParseFloat(price, monthPrice) &&
      IsStorableAmount(monthPrice)) {
    contract.MonthPrice = monthPrice;
  } else {
    Fatal(subject::kMonthlyRent, row, valid);
  }

  const auto& texts = kContractTexts;
  contract.SF2Text = ContractTextCell(texts[0], row, valid);
  bool objectTypeFits = true;
  const std::string objectType =
      ContractTextCell(texts[1], row, objectTypeFits);
  valid = valid && objectTypeFits;
  contract.Comment = ContractTextCell(texts[2], row, valid);
  contract.Purpose = ContractTextCell(texts[3], row, valid);
  contract.AddText = ContractTextCell(texts[4], row, valid);

  if (!objectType.empty() && objectTypeFits) {
    classifiers_.GetObjectTypeID(objectType);
    contract.ObjectTypeText = objectType;
  }

  contract.Area = AreaFromText(Cell(column::kArea, row));
  if (!IsStorableAmount(contract.Area)) Fatal(subject::kArea, row, valid);
  contract.DocType = kMonthlyRentContract;
  contract.CurrencyCode = 0;
  contract.TypeText = kDocTypeText;

  int32_t months = 0;
  if (!TryParseInt(Cell(column::kTermMonths, row), months) ||
      !StopAfterMonths(contract.StartDate, months, contract.StopDate)) {
    Fatal(subject::kTermMonths, row, valid);
  } else if (started && !schedule::TermInScheduleLimits(contract.StartDate,
                                                        contract.StopDate)) {
    // Refused here, with the row and the number the clerk typed, rather than
    // by the schedule after the contract has been written.
    Fatal(subject::kScheduleLimits + number +
              Format(kScheduleLimitsText, schedule::kFirstScheduleYear,
                     schedule::kLastScheduleYear, schedule::kMaxTermMonths),
          row, valid);
  }

  contract.PodsadFlag =
      UpperCase(Cell(column::kStatusFlag, row)) == kYes ? "T" : "F";
  TDate statusDate = 0;
  if (TryParseDate(Cell(column::kStatusDate, row), statusDate)) {
    contract.PodsadFlag = contract.PodsadFlag == "F" ? "B" : "S";
    contract.ExtraDate = statusDate;
    contract.ExtraNote = Cell(column::kStatusNote, row);
  }

  const auto& defaults = rentKinds_.Defaults();
  contract.VATCode = defaults.VATCode;
  contract.PayDay = defaults.PayDay;
  contract.InterestType = defaults.InterestType;
  contract.InterestPercent = defaults.InterestPercent;
  contract.InterestMax = defaults.InterestMax;
  return valid;
}

bool RowMapping::ReadProperty(contracts::TObektDB& property, int row) {
  bool valid = true;

  std::string settlement = Cell(column::kSettlement, row);
  const int32_t settlementId = classifiers_.GetSettlementID(settlement);
  if (settlementId == -1) {
    Fatal(subject::kSettlement, row, valid);
  } else {
    property.SettlementID = settlementId;
    property.SettlementText = settlement;
  }

  const std::string cadastral = Trim(Cell(column::kCadastralId, row));
  if (!cadastral.empty()) {
    const CadastralGroups groups = SplitCadastralId(cadastral);
    // The fourth and fifth groups go to 16-bit columns; a larger group is
    // refused, not cut.
    if (FitsSmallInt(groups.nn) && FitsSmallInt(groups.ni)) {
      property.MasivNo = groups.masivNo;
      property.NparText = groups.nparText;
      property.NN = static_cast<int16_t>(groups.nn);
      property.NI = static_cast<int16_t>(groups.ni);
    } else {
      Fatal(kCadastralSubject, row, valid);
    }
  }

  const std::string locality = Cell(column::kLocality, row);
  if (!locality.empty())
    property.LocalityID = classifiers_.GetLocalityID(locality);
  const std::string quarter = Cell(column::kQuarter, row);
  if (!quarter.empty()) property.QuarterID = classifiers_.GetQuarterID(quarter);
  const std::string street = Cell(column::kStreet, row);
  if (!street.empty()) property.StreetID = classifiers_.GetStreetID(street);

  property.AddressNo = Cell(column::kStreetNumber, row);
  property.Address = Utf8Left(Cell(column::kAddress, row), kAddressLength);
  return valid;
}

}  // namespace zrv::import
