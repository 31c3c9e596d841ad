#pragma once
// The identifier of this application among the programs that share the property
// database. It is written to the rows the import adds (contracts, properties,
// classifier rows) and filters the application's characteristics and rent
// types.

#include <cstdint>

namespace zrv {

inline constexpr int32_t kAppID = 1;

}  // namespace zrv
