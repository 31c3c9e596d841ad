#include "import/RowResolver.h"

#include "common/Text.h"
#include "import/ColumnMap.h"
#include "import/RowReader.h"

namespace zrv::import {

namespace {

const char* const kDocTypeText = "Наем";
constexpr int16_t kMonthlyRentContract = 1002;

}  // namespace

RowResolver::RowResolver(RowLookups& lookups, ErrorList& errors, contracts::RentKinds& rentKinds)
    : lookups_(lookups), errors_(errors), rentKinds_(rentKinds) {}

int32_t RowResolver::FindPerson(const std::string& number) {
  // An empty number would find whichever stored person happens to have none
  // and tie the row to an unrelated person; it finds nobody instead.
  if (number.empty()) return -1;
  const int32_t found = lookups_.FindPerson(number);
  if (found != -1) return found;
  // The same personal number stored without its leading zero (by an import
  // from a column taken as numbers) is the same person, unless those nine
  // digits are some firm's code.
  const std::string shorter = NumberWithoutLeadingZero(number);
  return shorter.empty() ? -1 : lookups_.FindPerson(shorter);
}

bool RowResolver::ResolveRepresentative(const ContractRow& row, contracts::TPersonSrchRec& rep) {
  const RepresentativeCells& cells = row.representative;
  errors_.AddLines(cells.number.lines, row.row);
  bool valid = cells.number.usable;
  rep.EGN = cells.number.number;
  rep.ID = valid ? FindPerson(rep.EGN) : -1;
  if (rep.ID != -1) return valid;
  errors_.AddLines(cells.newLines, row.row);
  valid = valid && cells.newLines.empty();
  rep.Name = cells.name;
  rep.PData = cells.document;
  rep.Telefon = cells.phone;
  rep.Flag = 'T';
  if (cells.registrationDate) rep.DateReg = *cells.registrationDate;
  return valid;
}

bool RowResolver::ResolveTenant(const ContractRow& row, contracts::TPersonSrchRec& tenant,
                                contracts::TPersonSrchRec& rep) {
  const TenantCells& cells = row.tenant;
  errors_.AddLines(cells.vatLines, row.row);
  errors_.AddLines(cells.number.lines, row.row);
  tenant.InDDS = cells.vatNumber;
  tenant.EGN = cells.number.number;
  if (!cells.vatLines.empty() || !cells.number.usable) return false;
  bool valid = true;
  tenant.ID = FindPerson(tenant.EGN);
  if (tenant.ID == -1) {
    errors_.AddLines(cells.newLines, row.row);
    valid = cells.newLines.empty();
    tenant.Name = cells.name;
    tenant.Flag = cells.flag;
    tenant.NM = cells.settlement;
    tenant.Addr = cells.address;
  }
  // A representative without a number is the one the stored tenant already
  // has under that name, not a new person on every row.
  if (rep.ID == -1 && rep.EGN.empty() && !rep.Name.empty() && tenant.ID != -1)
    rep.ID = lookups_.FindRepresentative(tenant.ID, rep.Name);
  return valid;
}

bool RowResolver::ResolveContract(const ContractRow& row, contracts::TBaseDoc& contract) {
  const ContractCells& cells = row.contract;
  if (!Trim(cells.rentType).empty()) contract.RentTypeID = lookups_.RentTypeId(cells.rentType);
  rentKinds_.ApplyRentKind(cells.rentType);
  errors_.AddLines(cells.linesBeforeObjectType, row.row);
  if (cells.numberTaken) contract.NumberText = cells.number;
  contract.DocDate = cells.docDate;
  contract.StartDate = cells.startDate;
  if (cells.priceRead) contract.MonthPrice = cells.monthPrice;
  contract.SF2Text = cells.sf2Text;
  contract.Comment = cells.comment;
  contract.Purpose = cells.purpose;
  contract.AddText = cells.addText;
  if (!cells.objectType.empty() && cells.objectTypeFits) {
    lookups_.ObjectTypeId(cells.objectType);
    contract.ObjectTypeText = cells.objectType;
  }
  errors_.AddLines(cells.linesAfterObjectType, row.row);
  contract.Area = cells.area;
  contract.DocType = kMonthlyRentContract;
  contract.CurrencyCode = 0;
  contract.TypeText = kDocTypeText;
  if (cells.stopRead) contract.StopDate = cells.stopDate;
  contract.PodsadFlag = cells.podsadFlag;
  if (cells.statusDate) {
    contract.ExtraDate = *cells.statusDate;
    contract.ExtraNote = cells.statusNote;
  }
  const auto& defaults = rentKinds_.Defaults();
  contract.VATCode = defaults.VATCode;
  contract.PayDay = defaults.PayDay;
  contract.InterestType = defaults.InterestType;
  contract.InterestPercent = defaults.InterestPercent;
  contract.InterestMax = defaults.InterestMax;
  return cells.valid;
}

bool RowResolver::ResolveProperty(const ContractRow& row, contracts::TObektDB& property) {
  const PropertyCells& cells = row.property;
  errors_.AddLines(cells.settlementLines, row.row);
  if (!cells.settlementFits) return false;
  bool valid = true;
  std::string settlement = cells.settlement;
  const int32_t settlementId = lookups_.SettlementId(settlement);
  if (settlementId == -1) {
    errors_.ReportMissing(subject::kSettlement, row.row, true);
    valid = false;
  } else {
    property.SettlementID = settlementId;
    property.SettlementText = settlement;
  }
  errors_.AddLines(cells.cadastralLines, row.row);
  if (cells.hasCadastralId) {
    property.MasivNo = cells.masivNo;
    property.NparText = cells.nparText;
    property.NN = cells.nn;
    property.NI = cells.ni;
  }
  valid = valid && cells.cadastralValid;
  errors_.AddLines(cells.classifierLines, row.row);
  if (!cells.classifierLines.empty()) return false;
  if (!cells.locality.empty()) property.LocalityID = lookups_.LocalityId(cells.locality);
  if (!cells.quarter.empty()) property.QuarterID = lookups_.QuarterId(cells.quarter);
  if (!cells.street.empty()) property.StreetID = lookups_.StreetId(cells.street);
  property.AddressNo = cells.streetNumber;
  property.Address = cells.address;
  return valid;
}

bool RowResolver::Resolve(const ContractRow& row, RowRecords records) {
  const bool representativeValid = ResolveRepresentative(row, records.representative);
  bool valid = ResolveTenant(row, records.tenant, records.representative) &&
               ResolveContract(row, records.contract) && ResolveProperty(row, records.property) &&
               representativeValid;

  contracts::TBaseDoc& contract = records.contract;
  contract.PropertyID = lookups_.PropertyByDocumentNumber(row.property.storedDocumentNumber);
  if (contract.PropertyID == -1)
    contract.PropertyID = lookups_.PropertyByCadastralId(records.property);
  // A property the row adds must hold its own texts; a stored one keeps its.
  if (valid && contract.PropertyID == -1 && !row.property.newLines.empty()) {
    errors_.AddLines(row.property.newLines, row.row);
    valid = false;
  }
  return valid;
}

}  // namespace zrv::import
