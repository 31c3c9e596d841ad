#include "import/RowMapping.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "common/Dates.h"
#include "common/Rounding.h"
#include "common/Text.h"
#include "contracts/StatementText.h"
#include "import/AreaUnits.h"
#include "import/ColumnMap.h"
#include "schedule/ScheduleLimits.h"

namespace zrv::import {

// A text column the row stores: what the row's FATAL line calls it, and the
// characters its database column holds.
struct TextColumn {
  const char* column;
  const char* name;
  size_t limit;
};

namespace {

const char* const kDocTypeText = "Наем";
constexpr int16_t kMonthlyRentContract = 1002;
const char* const kYes = "Д";
const char* const kVatPrefix = "BG";
// A cadastral identifier that cannot be read whole (a character other than
// digits, dots and blanks, more than five groups, a group too large for its
// property column); the row is refused with this subject.
const char* const kCadastralSubject =
    "кадастрален идентификатор(или въведената стойност е невалидна; колона AB: "
    "до пет групи от цифри, разделени с точка, или число до шест цифри)";
constexpr size_t kCadastralGroups = 5;
constexpr size_t kShortCadastralDigits = 6;
// A personal number whose leading zero a spreadsheet dropped by taking the
// column as numbers; followed by the column.
const char* const kLeadingZero = "водеща нула на ЕГН в колона %s(ЕГН е записано "
                                 "с нея; форматирайте колоната като текст)";
// A contract number goes into the scanned file's name: no line break, tab or
// other control character.
const char* const kNumberControl =
    "номер на договор(колона A: без нов ред и управляващи знаци)";
constexpr size_t kAddressLength = 250;
constexpr int kLastYear = 9999;
const char* const kScheduleLimitsText =
    "(датите трябва да са в годините %d - %d, а срокът - до %d месеца)";

const TextColumn kNumberText{column::kContractNumber, "номер на договор", 50};
const TextColumn kContractTexts[] = {
    {column::kContractText, "текст на договора", 250},
    {column::kObjectType, "вид обект", 250},
    {column::kComment, "коментар", 1000},
    {column::kPurpose, "предназначение", 1000},
    {column::kAdditionalText, "допълнителен текст", 1000},
};
// The texts of the tenant, the representative and the property, checked before
// anything is written: the look-up by identity number and the inserts would
// otherwise fail with the engine's own message.
const TextColumn kTenantName{column::kTenantName, "име на наемателя", 250};
const TextColumn kTenantNumber{column::kTenantNumber, "ЕГН/Булстат", 50};
const TextColumn kTenantVat{column::kTenantVatNumber, "ИН по ДДС", 50};
const TextColumn kTenantSettlement{column::kTenantSettlement,
                                   "населено място на наемателя", 100};
const TextColumn kTenantAddress{column::kTenantAddress, "адрес на наемателя",
                                250};
const TextColumn kRepresentativeName{column::kRepresentativeName,
                                     "име на представителя", 250};
const TextColumn kRepresentativeNumber{column::kRepresentativeNumber,
                                       "ЕГН на представителя", 50};
const TextColumn kRepresentativeDocument{column::kRepresentativeDocument,
                                         "лична карта на представителя", 100};
const TextColumn kRepresentativePhone{column::kRepresentativePhone,
                                      "телефон на представителя", 50};
const TextColumn kPropertySettlement{column::kSettlement,
                                     "населено място на имота", 250};
const TextColumn kLocality{column::kLocality, "местност", 250};
const TextColumn kQuarter{column::kQuarter, "жилищен комплекс", 250};
const TextColumn kStreet{column::kStreet, "улица", 250};
const TextColumn kStreetNumber{column::kStreetNumber, "номер", 100};
const TextColumn kPropertyAddress{column::kAddress, "адрес на имота",
                                  kAddressLength};
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

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// A group of digits, blanks around it allowed; an empty group is 0. False for
// anything else (a blank inside, a sign) or a number beyond 32 bits.
bool ReadGroup(const std::string& text, int32_t& value) {
  const std::string group = Trim(text);
  value = 0;
  if (group.empty()) return true;
  return std::all_of(group.begin(), group.end(), IsAsciiDigit) &&
         TryParseInt(group, value);
}

// The parts of a cadastral identifier the property keeps, or nothing when the
// identifier cannot be read whole. The dotted form has at most five groups
// (a dot after the last is allowed) and drops its first (the settlement's
// code); missing groups give 0. Without a full stop it is a number of up to
// six digits: characters 1 to 3 and 4 to 6.
std::optional<CadastralGroups> SplitCadastralId(const std::string& text) {
  if (text.find_first_not_of("0123456789. ") != std::string::npos)
    return std::nullopt;
  CadastralGroups groups;
  if (text.find('.') == std::string::npos) {
    const std::string digits = WithoutBlanks(text);
    if (digits.size() > kShortCadastralDigits) return std::nullopt;
    const std::string first = digits.substr(0, 3);
    const std::string second = digits.size() > 3 ? digits.substr(3) : "";
    int32_t npar = 0;
    if (!ReadGroup(first, groups.masivNo) || !ReadGroup(second, npar))
      return std::nullopt;
    groups.nparText = std::to_string(npar);
    return groups;
  }
  std::vector<std::string> parts;
  for (size_t begin = 0;;) {
    const size_t dot = text.find('.', begin);
    parts.push_back(text.substr(begin, dot - begin));
    if (dot == std::string::npos) break;
    begin = dot + 1;
  }
  if (parts.size() == kCadastralGroups + 1 && Trim(parts.back()).empty())
    parts.pop_back();
  if (parts.size() > kCadastralGroups) return std::nullopt;
  parts.resize(kCadastralGroups);
  int32_t values[kCadastralGroups] = {};
  for (size_t i = 0; i < kCadastralGroups; ++i) {
    if (!ReadGroup(parts[i], values[i])) return std::nullopt;
  }
  groups.masivNo = values[1];
  groups.nparText = std::to_string(values[2]);
  groups.nn = values[3];
  groups.ni = values[4];
  return groups;
}

bool HasControlCharacter(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
  });
}

// A citizen's personal number: ten digits, the check digit right and the
// birth date it encodes a real day (months 21-32 for the 1800s, 41-52 for the
// 2000s).
bool IsCitizenNumber(const std::string& digits) {
  if (!IsValidPersonalNumber(digits)) return false;  // ten digits, one form
  static const int kWeights[9] = {2, 4, 8, 5, 10, 9, 7, 3, 6};
  int sum = 0;
  for (int i = 0; i < 9; ++i) sum += (digits[i] - '0') * kWeights[i];
  if (sum % 11 % 10 != digits[9] - '0') return false;  // a foreigner's form
  const int yy = std::stoi(digits.substr(0, 2));
  int month = std::stoi(digits.substr(2, 2));
  const int day = std::stoi(digits.substr(4, 2));
  int year = 1900 + yy;
  if (month > 40) {
    month -= 40;
    year += 100;
  } else if (month > 20) {
    month -= 20;
    year -= 100;
  }
  TDate date = 0;
  return TryEncodeDate(year, month, day, date);
}

// True for nine digits that are no valid firm code but a citizen's number once
// the leading zero is put back: what a spreadsheet leaves of a personal number
// of someone born 2000-2009 (or 1900-1909) when it takes the column as numbers.
bool LostLeadingZero(const std::string& number) {
  return number.size() == 9 &&
         std::all_of(number.begin(), number.end(), IsAsciiDigit) &&
         !IsValidBulstat(number) && IsCitizenNumber("0" + number);
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
  const int32_t found = persons_.FindByEGN(number);
  if (found != -1) return found;
  // The same personal number stored without its leading zero (by an import
  // from a column taken as numbers) is the same person, unless those nine
  // digits are some firm's code.
  const std::string shorter = number.substr(1);
  if (number.size() == 10 && number[0] == '0' && LostLeadingZero(shorter))
    return persons_.FindByEGN(shorter);
  return -1;
}

void RowMapping::Fatal(const std::string& subject, int row, bool& valid) {
  errors_.ReportMissing(subject, row, true);
  valid = false;
}

std::string RowMapping::IdentityNumber(const std::string& text,
                                       const TextColumn& column, int row,
                                       bool& valid) {
  std::string number = WithoutBlanks(text);
  // The number is a look-up key and goes into the person's row: a character
  // the database cannot hold or a control character refuses the row here,
  // before any statement.
  if (!contracts::FitsTextColumn(number, column.limit) ||
      HasControlCharacter(number)) {
    TextProblem(column, row, valid);
    return std::string();
  }
  if (LostLeadingZero(number)) {
    number = "0" + number;
    errors_.ReportMissing(Format(kLeadingZero, column.column), row, false);
  }
  // A wrong check digit changes nothing of what is stored, but the clerk is
  // told.
  if (HasWrongCheckDigit(number))
    errors_.ReportMissing(subject::kCheckDigit + std::string(column.column),
                          row, false);
  return number;
}

void RowMapping::TextProblem(const TextColumn& text, int row, bool& valid) {
  Fatal(Format(kTextLimit, text.name, text.column, text.limit), row, valid);
}

std::string RowMapping::TextCell(const TextColumn& text, int row, bool& valid) {
  std::string value = Cell(text.column, row);
  // Refused before anything is written: a NUL would cut the stored text, a
  // longer text or a character outside the code page would fail in the
  // database with the engine's own message.
  if (!contracts::FitsTextColumn(value, text.limit))
    TextProblem(text, row, valid);
  return value;
}

bool RowMapping::ReadRepresentative(int row) {
  bool valid = true;
  auto& rep = Representative;
  const std::string number = Cell(column::kRepresentativeNumber, row);
  rep.EGN = IdentityNumber(number, kRepresentativeNumber, row, valid);
  rep.ID = valid ? FindPerson(rep.EGN) : -1;
  if (rep.ID != -1) return valid;
  rep.Name = TextCell(kRepresentativeName, row, valid);
  rep.PData = TextCell(kRepresentativeDocument, row, valid);
  rep.Telefon = TextCell(kRepresentativePhone, row, valid);
  rep.Flag = 'T';
  TryParseDate(number, rep.DateReg);
  return valid;
}

bool RowMapping::ReadTenant(int row) {
  bool valid = true;
  auto& tenant = Tenant;
  tenant.InDDS = TextCell(kTenantVat, row, valid);
  const std::string number = Cell(column::kTenantNumber, row);
  tenant.EGN = !number.empty()
                   ? IdentityNumber(number, kTenantNumber, row, valid)
                   : IdentityNumber(ReplaceAll(tenant.InDDS, kVatPrefix, " "),
                                    kTenantVat, row, valid);
  if (!valid) return false;
  tenant.ID = FindPerson(tenant.EGN);
  if (tenant.ID == -1) {
    tenant.Name = TextCell(kTenantName, row, valid);
    if (tenant.Name.empty() || tenant.EGN.empty())
      Fatal(subject::kTenant, row, valid);
    tenant.Flag = IsValidBulstat(tenant.EGN) ? 'F' : 'T';
    tenant.NM = TextCell(kTenantSettlement, row, valid);
    tenant.Addr = TextCell(kTenantAddress, row, valid);
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

  const std::string number = TextCell(kNumberText, row, valid);
  if (number.empty()) {
    Fatal(subject::kContractNumber, row, valid);
  } else if (HasControlCharacter(number)) {
    Fatal(kNumberControl, row, valid);
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
  contract.SF2Text = TextCell(texts[0], row, valid);
  bool objectTypeFits = true;
  const std::string objectType =
      TextCell(texts[1], row, objectTypeFits);
  valid = valid && objectTypeFits;
  contract.Comment = TextCell(texts[2], row, valid);
  contract.Purpose = TextCell(texts[3], row, valid);
  contract.AddText = TextCell(texts[4], row, valid);

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

  std::string settlement = TextCell(kPropertySettlement, row, valid);
  if (!valid) return false;
  const int32_t settlementId = classifiers_.GetSettlementID(settlement);
  if (settlementId == -1) {
    Fatal(subject::kSettlement, row, valid);
  } else {
    property.SettlementID = settlementId;
    property.SettlementText = settlement;
  }

  const std::string cadastral = Trim(Cell(column::kCadastralId, row));
  if (!cadastral.empty()) {
    // The identifier decides which stored property the contract reuses: one
    // that cannot be read whole is refused, never cut. The fourth and fifth
    // groups go to 16-bit fields.
    const std::optional<CadastralGroups> groups = SplitCadastralId(cadastral);
    if (groups && FitsSmallInt(groups->nn) && FitsSmallInt(groups->ni)) {
      property.MasivNo = groups->masivNo;
      property.NparText = groups->nparText;
      property.NN = static_cast<int16_t>(groups->nn);
      property.NI = static_cast<int16_t>(groups->ni);
    } else {
      Fatal(kCadastralSubject, row, valid);
    }
  }

  // Classifier texts are checked before any of them is looked up or added.
  bool textsFit = true;
  const std::string locality = TextCell(kLocality, row, textsFit);
  const std::string quarter = TextCell(kQuarter, row, textsFit);
  const std::string street = TextCell(kStreet, row, textsFit);
  if (!textsFit) return false;
  if (!locality.empty())
    property.LocalityID = classifiers_.GetLocalityID(locality);
  if (!quarter.empty()) property.QuarterID = classifiers_.GetQuarterID(quarter);
  if (!street.empty()) property.StreetID = classifiers_.GetStreetID(street);

  property.AddressNo = Cell(column::kStreetNumber, row);
  property.Address = Utf8Left(Cell(column::kAddress, row), kAddressLength);
  return valid;
}

bool RowMapping::CheckNewProperty(const contracts::TObektDB& property,
                                  int row) {
  bool valid = true;
  if (!contracts::FitsTextColumn(property.AddressNo, kStreetNumber.limit))
    TextProblem(kStreetNumber, row, valid);
  if (!contracts::FitsTextColumn(property.Address, kPropertyAddress.limit))
    TextProblem(kPropertyAddress, row, valid);
  return valid;
}

}  // namespace zrv::import
