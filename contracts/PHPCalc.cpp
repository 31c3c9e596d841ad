#include "contracts/PHPCalc.h"

namespace zrv::contracts {

bool TPHPCommonTasks::SetCalcValue(const std::string& name, const std::string& value) {
  if (name.empty() || calculator_ == nullptr) return false;
  int index = calculator_->FindVariable(name);
  if (index < 0) index = calculator_->AddVariable(name);
  calculator_->SetValue(index, value);
  return true;
}

}  // namespace zrv::contracts
