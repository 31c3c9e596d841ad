#include "contracts/RegisterKeys.h"

#include "contracts/StoredKeyText.h"

namespace zrv::contracts {

std::string PropertyKey(const TObektDB& property) {
  if (!property.HasCadastralId()) return std::string();
  KeyText key;
  key.Add(property.SettlementID);
  key.Add(property.MasivNo);
  key.Add(property.NparText);
  key.Add(property.NN);
  key.Add(property.NI);
  return key.Text();
}

}  // namespace zrv::contracts
