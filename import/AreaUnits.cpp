#include "import/AreaUnits.h"

#include "common/Text.h"

namespace zrv::import {

namespace {

const std::string kNumeroSign = "№";

// The number written before the first occurrence of the unit word; 0 when there
// is none.
double ValueBefore(const std::string& text, const std::string& unit) {
  const auto pos = text.find(unit);
  if (pos == std::string::npos) return 0.0;
  double value = 0.0;
  if (!TryParseFloat(text.substr(0, pos), value)) return 0.0;
  return value;
}

}  // namespace

double AreaFromText(const std::string& text) {
  double value = ValueBefore(text, kUnitSquareMetre);
  if (value == 0.0) value = UnitFactor(kUnitDecare) * ValueBefore(text, kUnitDecare);
  if (value == 0.0) value = UnitFactor(kUnitHectare) * ValueBefore(text, kUnitHectare);
  return value;
}

int32_t UnitFactor(const std::string& unit) {
  if (unit == kUnitDecare) return 1000;
  if (unit == kUnitHectare) return 10000;
  return 1;
}

int32_t NextNumberGroup(std::string& text) {
  int32_t value = 0;
  const auto dot = text.find('.');
  if (dot == std::string::npos) {
    if (!TryParseInt(text, value)) value = 0;
    text.clear();
    return value;
  }
  if (!TryParseInt(text.substr(0, dot), value)) value = 0;
  text = Trim(" " + text.substr(dot + 1));
  return value;
}

std::string CleanDocNumber(const std::string& text) {
  std::string result = text;
  for (auto pos = result.find(kNumeroSign); pos != std::string::npos;
       pos = result.find(kNumeroSign, pos + 1)) {
    result.replace(pos, kNumeroSign.size(), " ");
  }
  return Trim(result);
}

}  // namespace zrv::import
