#pragma once
// Contract types (documents.DOC_TYPE) as the rent schedule sees them. A
// negative type is the same kind of contract as its positive value.

#include <cstdint>

namespace zrv::schedule {

// A monthly rent contract whose periods are calendar months.
inline constexpr int32_t kCalendarContract = 1002;
// A monthly rent contract whose periods run from the start day of month.
inline constexpr int32_t kAnniversaryContract = 1400;
// A contract whose schedule is never rebuilt.
inline constexpr int32_t kFixedScheduleContract = 1004;

inline bool IsCalendarType(int32_t type) {
  return type == kCalendarContract || type == -kCalendarContract;
}
inline bool IsAnniversaryType(int32_t type) {
  return type == kAnniversaryContract || type == -kAnniversaryContract;
}
// The contracts paid by monthly periods, the only ones that take annexes.
inline bool IsMonthlyType(int32_t type) { return IsCalendarType(type) || IsAnniversaryType(type); }

}  // namespace zrv::schedule
