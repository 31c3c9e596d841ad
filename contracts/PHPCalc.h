#pragma once
// The hand-over of named text values to the variable set of the value
// calculator, an embedded script engine. The import attaches no engine; every
// operation that needs one then does nothing.

#include <string>

namespace zrv::contracts {

// The variable set of an attached calculator engine, as the contract modules
// use it.
class CalcVariables {
 public:
  virtual ~CalcVariables() = default;
  // Index of the first variable whose name equals `name` ignoring letter case,
  // or -1.
  virtual int FindVariable(const std::string& name) const = 0;
  // Adds a variable with no value and gives its index.
  virtual int AddVariable(const std::string& name) = 0;
  virtual void SetValue(int index, const std::string& value) = 0;
};

// The calculator binding. Made once at start-up, with the engine's variable set
// or with none (the import's case); the variable set is not owned and must
// outlive this object.
class TPHPCommonTasks {
 public:
  explicit TPHPCommonTasks(CalcVariables* calculator = nullptr) : calculator_(calculator) {}
  TPHPCommonTasks(const TPHPCommonTasks&) = delete;
  TPHPCommonTasks& operator=(const TPHPCommonTasks&) = delete;

  // The attached variable set, or nullptr.
  CalcVariables* Calculator() const { return calculator_; }
  bool HasCalculator() const { return calculator_ != nullptr; }

  // Sets the value of the variable named `name` (found ignoring letter case,
  // added when missing) and gives true. Gives false and touches nothing for an
  // empty name or without a calculator.
  bool SetCalcValue(const std::string& name, const std::string& value);

 private:
  CalcVariables* calculator_;
};

}  // namespace zrv::contracts
