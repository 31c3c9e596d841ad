// The first stage of a contract row: cells to a ContractRow, no database.

#include "import/RowReader.h"

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
#include "import/ErrorList.h"
#include "schedule/ScheduleLimits.h"

namespace zrv::import {

namespace {

// A text column the row stores: what the row's FATAL line calls it, and the
// characters its database column holds.
struct TextColumn {
  const char* column;
  const char* name;
  size_t limit;
};

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
const char* const kLeadingZero =
    "водеща нула на ЕГН в колона %s(ЕГН е записано "
    "с нея; форматирайте колоната като текст)";
// A contract number goes into the scanned file's name: no line break, tab or
// other control character.
const char* const kNumberControl = "номер на договор(колона A: без нов ред и управляващи знаци)";
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
const TextColumn kTenantSettlement{column::kTenantSettlement, "населено място на наемателя", 100};
const TextColumn kTenantAddress{column::kTenantAddress, "адрес на наемателя", 250};
const TextColumn kRepresentativeName{column::kRepresentativeName, "име на представителя", 250};
const TextColumn kRepresentativeNumber{column::kRepresentativeNumber, "ЕГН на представителя", 50};
const TextColumn kRepresentativeDocument{column::kRepresentativeDocument,
                                         "лична карта на представителя", 100};
const TextColumn kRepresentativePhone{column::kRepresentativePhone, "телефон на представителя", 50};
const TextColumn kPropertySettlement{column::kSettlement, "населено място на имота", 250};
const TextColumn kLocality{column::kLocality, "местност", 250};
const TextColumn kQuarter{column::kQuarter, "жилищен комплекс", 250};
const TextColumn kStreet{column::kStreet, "улица", 250};
const TextColumn kStreetNumber{column::kStreetNumber, "номер", 100};
const TextColumn kPropertyAddress{column::kAddress, "адрес на имота", kAddressLength};
const char* const kTextLimit =
    "%s(колона %s: най-много %zu знака, само от кодовата таблица "
    "Windows-1251)";

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with) {
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
  return std::all_of(group.begin(), group.end(), IsAsciiDigit) && TryParseInt(group, value);
}

// The parts of a cadastral identifier the property keeps, or nothing when the
// identifier cannot be read whole. The dotted form has at most five groups
// (a dot after the last is allowed) and drops its first (the settlement's
// code); missing groups give 0. Without a full stop it is a number of up to
// six digits: characters 1 to 3 and 4 to 6.
std::optional<CadastralGroups> SplitCadastralId(const std::string& text) {
  if (text.find_first_not_of("0123456789. ") != std::string::npos) return std::nullopt;
  CadastralGroups groups;
  if (text.find('.') == std::string::npos) {
    const std::string digits = WithoutBlanks(text);
    if (digits.size() > kShortCadastralDigits) return std::nullopt;
    const std::string first = digits.substr(0, 3);
    const std::string second = digits.size() > 3 ? digits.substr(3) : "";
    int32_t npar = 0;
    if (!ReadGroup(first, groups.masivNo) || !ReadGroup(second, npar)) return std::nullopt;
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
  if (parts.size() == kCadastralGroups + 1 && Trim(parts.back()).empty()) parts.pop_back();
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
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
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
  return number.size() == 9 && std::all_of(number.begin(), number.end(), IsAsciiDigit) &&
         !IsValidBulstat(number) && IsCitizenNumber("0" + number);
}

// Reads the cells of one row and gathers their lines.
class Reader {
 public:
  Reader(const CellReader& cells, int row) : cells_(cells), row_(row) {}

  std::string Cell(const char* column) const { return cells_.ReadCell(column, row_); }

  void Fatal(Lines& lines, const std::string& subject) const {
    lines.push_back(MissingLine(subject, row_, true));
  }
  void Warning(Lines& lines, const std::string& subject) const {
    lines.push_back(MissingLine(subject, row_, false));
  }

  // The FATAL line of a text its column cannot hold.
  void TextProblem(Lines& lines, const TextColumn& text) const {
    Fatal(lines, Format(kTextLimit, text.name, text.column, text.limit));
  }

  // The cell of a text column the row stores; a FATAL line (and `fits` false)
  // when its database column cannot hold it exactly: a NUL would cut the
  // stored text, a longer text or a character outside the code page would
  // fail in the database with the engine's own message.
  std::string Text(const TextColumn& text, Lines& lines, bool& fits) const {
    std::string value = Cell(text.column);
    if (!contracts::FitsTextColumn(value, text.limit)) {
      TextProblem(lines, text);
      fits = false;
    }
    return value;
  }

  // The identity number `text` (read from `column`) without blanks.
  IdentityNumber Number(const std::string& text, const TextColumn& column) const {
    IdentityNumber id;
    std::string number = WithoutBlanks(text);
    // The number is a look-up key and goes into the person's row: a character
    // the database cannot hold or a control character refuses the row before
    // any statement.
    if (!contracts::FitsTextColumn(number, column.limit) || HasControlCharacter(number)) {
      TextProblem(id.lines, column);
      id.usable = false;
      return id;
    }
    if (LostLeadingZero(number)) {
      number = "0" + number;
      Warning(id.lines, Format(kLeadingZero, column.column));
    }
    // A wrong check digit changes nothing of what is stored, but the clerk is
    // told.
    if (HasWrongCheckDigit(number))
      Warning(id.lines, subject::kCheckDigit + std::string(column.column));
    id.number = number;
    return id;
  }

  RepresentativeCells Representative() const {
    RepresentativeCells rep;
    const std::string number = Cell(column::kRepresentativeNumber);
    rep.number = Number(number, kRepresentativeNumber);
    bool fits = true;
    rep.name = Text(kRepresentativeName, rep.newLines, fits);
    rep.document = Text(kRepresentativeDocument, rep.newLines, fits);
    rep.phone = Text(kRepresentativePhone, rep.newLines, fits);
    TDate date = 0;
    if (TryParseDate(number, date)) rep.registrationDate = date;
    return rep;
  }

  TenantCells Tenant() const {
    TenantCells tenant;
    bool vatFits = true;
    tenant.vatNumber = Text(kTenantVat, tenant.vatLines, vatFits);
    const std::string number = Cell(column::kTenantNumber);
    if (!number.empty()) {
      tenant.number = Number(number, kTenantNumber);
    } else if (vatFits) {
      tenant.number = Number(ReplaceAll(tenant.vatNumber, kVatPrefix, " "), kTenantVat);
    } else {
      tenant.number.usable = false;  // F's own line says why
    }
    bool fits = true;
    tenant.name = Text(kTenantName, tenant.newLines, fits);
    if (tenant.name.empty() || tenant.number.number.empty())
      Fatal(tenant.newLines, subject::kTenant);
    tenant.flag = IsValidBulstat(tenant.number.number) ? 'F' : 'T';
    tenant.settlement = Text(kTenantSettlement, tenant.newLines, fits);
    tenant.address = Text(kTenantAddress, tenant.newLines, fits);
    return tenant;
  }

  ContractCells Contract() const {
    ContractCells c;
    Lines& lines = c.linesBeforeObjectType;
    bool valid = true;
    c.rentType = Cell(column::kRentType);
    if (Trim(c.rentType).empty()) {
      Fatal(lines, subject::kRentType);
      valid = false;
    }

    c.number = Text(kNumberText, lines, valid);
    if (c.number.empty()) {
      Fatal(lines, subject::kContractNumber);
      valid = false;
    } else if (HasControlCharacter(c.number)) {
      Fatal(lines, kNumberControl);
      valid = false;
    } else {
      c.numberTaken = true;
    }

    c.docDateRead = TryParseDate(Cell(column::kDrawnUpDate), c.docDate);
    if (!c.docDateRead) {
      Fatal(lines, subject::kDrawnUpDate);
      valid = false;
    }
    c.startRead = TryParseDate(Cell(column::kStartDate), c.startDate);
    if (!c.startRead) {
      Fatal(lines, subject::kStartDate);
      valid = false;
    }

    const std::string price = Cell(column::kMonthlyRent);
    double monthPrice = 0;
    if (!price.empty() && TryParseFloat(price, monthPrice) && IsStorableAmount(monthPrice)) {
      c.monthPrice = monthPrice;
      c.priceRead = true;
    } else {
      Fatal(lines, subject::kMonthlyRent);
      valid = false;
    }

    const auto& texts = kContractTexts;
    c.sf2Text = Text(texts[0], lines, valid);
    c.objectType = Text(texts[1], lines, c.objectTypeFits);
    valid = valid && c.objectTypeFits;
    c.comment = Text(texts[2], lines, valid);
    c.purpose = Text(texts[3], lines, valid);
    c.addText = Text(texts[4], lines, valid);

    Lines& after = c.linesAfterObjectType;
    c.area = AreaFromText(Cell(column::kArea));
    if (!IsStorableAmount(c.area)) {
      Fatal(after, subject::kArea);
      valid = false;
    }

    int32_t months = 0;
    if (!TryParseInt(Cell(column::kTermMonths), months) ||
        !StopAfterMonths(c.startDate, months, c.stopDate)) {
      Fatal(after, subject::kTermMonths);
      valid = false;
    } else {
      c.stopRead = true;
      if (c.startRead && !schedule::TermInScheduleLimits(c.startDate, c.stopDate)) {
        // Refused here, with the row and the number the clerk typed, rather
        // than by the schedule after the contract has been written.
        Fatal(after, subject::kScheduleLimits + c.number +
                         Format(kScheduleLimitsText, schedule::kFirstScheduleYear,
                                schedule::kLastScheduleYear, schedule::kMaxTermMonths));
        valid = false;
      }
    }

    c.podsadFlag = UpperCase(Cell(column::kStatusFlag)) == kYes ? "T" : "F";
    TDate statusDate = 0;
    if (TryParseDate(Cell(column::kStatusDate), statusDate)) {
      c.podsadFlag = c.podsadFlag == "F" ? "B" : "S";
      c.statusDate = statusDate;
      c.statusNote = Cell(column::kStatusNote);
    }
    c.valid = valid;
    return c;
  }

  PropertyCells Property() const {
    PropertyCells p;
    p.settlement = Text(kPropertySettlement, p.settlementLines, p.settlementFits);

    const std::string cadastral = Trim(Cell(column::kCadastralId));
    if (!cadastral.empty()) {
      // The identifier decides which stored property a contract reuses: one
      // that cannot be read whole is refused, never cut. The fourth and fifth
      // groups go to 16-bit fields.
      const std::optional<CadastralGroups> groups = SplitCadastralId(cadastral);
      if (groups && FitsSmallInt(groups->nn) && FitsSmallInt(groups->ni)) {
        p.hasCadastralId = true;
        p.masivNo = groups->masivNo;
        p.nparText = groups->nparText;
        p.nn = static_cast<int16_t>(groups->nn);
        p.ni = static_cast<int16_t>(groups->ni);
      } else {
        Fatal(p.cadastralLines, kCadastralSubject);
        p.cadastralValid = false;
      }
    }

    // Classifier texts are checked before any of them is looked up or added.
    bool fits = true;
    p.locality = Text(kLocality, p.classifierLines, fits);
    p.quarter = Text(kQuarter, p.classifierLines, fits);
    p.street = Text(kStreet, p.classifierLines, fits);

    p.streetNumber = Cell(column::kStreetNumber);
    p.address = Utf8Left(Cell(column::kAddress), kAddressLength);
    if (!contracts::FitsTextColumn(p.streetNumber, kStreetNumber.limit))
      TextProblem(p.newLines, kStreetNumber);
    if (!contracts::FitsTextColumn(p.address, kPropertyAddress.limit))
      TextProblem(p.newLines, kPropertyAddress);
    p.storedDocumentNumber = CleanDocNumber(Cell(column::kStoredDocumentNumber));
    return p;
  }

 private:
  const CellReader& cells_;
  int row_;
};

AnnexCells ReadAnnexCells(const CellReader& cells, int n) {
  AnnexCells annex;
  annex.row = n;
  annex.startRead = TryParseDate(cells.ReadCell(column::kStartDate, n), annex.start);
  annex.dateRead = TryParseDate(cells.ReadCell(column::kDrawnUpDate, n), annex.date);
  annex.priceRead = TryParseFloat(cells.ReadCell(column::kMonthlyRent, n), annex.price);
  annex.stopRead = TryParseDate(cells.ReadCell(column::kAnnexEndDate, n), annex.stop);
  return annex;
}

}  // namespace

ContractRow ReadContractRow(const CellReader& cells, int row) {
  const Reader reader(cells, row);
  ContractRow value;
  value.row = row;
  value.representative = reader.Representative();
  value.tenant = reader.Tenant();
  value.contract = reader.Contract();
  value.property = reader.Property();
  // The annex rows are those right below that repeat the number the contract
  // takes (see the skip rule of the run).
  if (value.contract.numberTaken) {
    for (int n = row + 1; cells.ReadCell(column::kContractNumber, n) == value.contract.number; ++n)
      value.annexes.push_back(ReadAnnexCells(cells, n));
  }
  return value;
}

std::string NumberWithoutLeadingZero(const std::string& number) {
  if (number.size() != 10 || number[0] != '0') return std::string();
  const std::string shorter = number.substr(1);
  return LostLeadingZero(shorter) ? shorter : std::string();
}

}  // namespace zrv::import
