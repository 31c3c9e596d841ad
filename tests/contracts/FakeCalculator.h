#pragma once
// An in-memory calculator variable set for tests; names compare ignoring letter
// case, as the engine's do.

#include <string>
#include <vector>

#include "common/Text.h"
#include "contracts/PHPCalc.h"

namespace zrv::contracts {

class FakeCalculator : public CalcVariables {
 public:
  int FindVariable(const std::string& name) const override {
    for (size_t i = 0; i < names.size(); ++i)
      if (UpperCase(names[i]) == UpperCase(name)) return static_cast<int>(i);
    return -1;
  }
  int AddVariable(const std::string& name) override {
    names.push_back(name);
    values.emplace_back();
    return static_cast<int>(names.size() - 1);
  }
  void SetValue(int index, const std::string& value) override { values.at(index) = value; }

  std::vector<std::string> names;
  std::vector<std::string> values;
};

}  // namespace zrv::contracts
