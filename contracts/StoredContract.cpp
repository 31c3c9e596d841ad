#include "contracts/StoredContract.h"

#include <initializer_list>

#include "common/Dates.h"
#include "contracts/StatementText.h"
#include "contracts/StoredKeyText.h"

namespace zrv::contracts {
namespace {

// Characters of contract_keys.ck_key.
constexpr size_t kKeyLength = 1000;

}  // namespace

std::string ContractKey(const TBaseDoc& contract, const TObektDB& property,
                        const std::string& tenantNumber) {
  KeyText key;
  key.Add(contract.DocType);
  key.Add(contract.NumberText);
  key.Add(FormatDMY(contract.DocDate));
  key.Add(tenantNumber);
  // The property as the row describes it, found or not: whether a stored
  // property is found depends on what the other workstation has committed by
  // then, so its id would give the two the same row under different keys.
  for (int32_t value : std::initializer_list<int32_t>{property.SettlementID, property.MasivNo,
                                                      property.NN, property.NI, property.LocalityID,
                                                      property.QuarterID, property.StreetID})
    key.Add(value);
  key.Add(property.NparText);
  key.Add(property.AddressNo);
  key.Add(property.Address);
  // Texts of a stored property are not checked when the row reuses it; a key
  // its column cannot hold leaves the row to the look-up alone.
  return FitsTextColumn(key.Text(), kKeyLength) ? key.Text() : std::string();
}

}  // namespace zrv::contracts
