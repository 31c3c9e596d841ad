#pragma once
// One value read from a result row, kept after the cursor is gone, and its
// conversions to the four forms a Field offers; also a parameter value waiting
// to be bound.

#include <cstdint>
#include <map>
#include <string>

namespace zrv::db::fb {

struct Value {
  enum class Kind { Null, Integer, Float, Text, DateTime, Boolean };
  Kind kind = Kind::Null;
  int64_t integer = 0;  // Integer (with scale) and Boolean
  int scale = 0;        // Integer: the value is integer * 10^scale
  double real = 0;      // Float, and DateTime as a day number
  std::string text;     // Text
};

// Null gives "", 0, 0.0 and the empty date 0. Text that does not read as the
// asked form throws DbError.
std::string ValueAsString(const Value& value);
int32_t ValueAsInteger(const Value& value);
double ValueAsFloat(const Value& value);
double ValueAsDateTime(const Value& value);

struct Param {
  enum class Kind { Null, Integer, SmallInt, String, Float, DateTime };
  Kind kind = Kind::Null;
  int32_t integer = 0;
  double real = 0;
  std::string text;
};

// A statement's parameter values by upper-cased name.
using NamedValues = std::map<std::string, Param>;

}  // namespace zrv::db::fb
