#pragma once
// Small text conversions of a worksheet row: the rented area with its unit
// word, the number groups of a dotted cadastral identifier, and a document
// number written with the numero sign. None of them fails: text that does not
// parse gives 0 (or is left as it is).

#include <cstdint>
#include <string>

namespace zrv::import {

// The unit words, exact and lower case, and their square metres per unit.
inline constexpr const char* kUnitSquareMetre = "квм";
inline constexpr const char* kUnitDecare = "дка";
inline constexpr const char* kUnitHectare = "хка";

// The area in square metres of a text such as "120 квм", "1,5 дка" or "2 хка":
// the number before the first square-metre word; when that gives 0, the number
// before the first decare word times 1000; when that gives 0 too, the number
// before the first hectare word times 10000. 0 when no unit word occurs or the
// text before it is not a number ("площ 120 квм" gives 0).
double AreaFromText(const std::string& text);

// Square metres per unit: 1000 for "дка", 10000 for "хка", 1 for anything else
// (case-sensitive).
int32_t UnitFactor(const std::string& unit);

// Takes the first dot-separated group off the front of `text` and gives it as
// an integer (0 when it is not one). Without a full stop the whole text is the
// group and `text` becomes empty; an empty text gives 0. Five calls on
// "12345.501.123.1.2" give 12345, 501, 123, 1 and 2.
int32_t NextNumberGroup(std::string& text);

// The text with every numero sign "№" replaced by a blank, trimmed: "№ 125"
// gives "125".
std::string CleanDocNumber(const std::string& text);

}  // namespace zrv::import
