#pragma once
// The value forms shared by every stored record: a time of day or a duration in whole minutes, and a
// calendar date.

#include <cstdint>

#include "platform/environment.h"

namespace tollwick {

// Minutes in bits 0-7, hours in bits 8-15. Readers take only those two bytes.
using PackedTime = std::uint32_t;

constexpr PackedTime MakePackedTime(std::uint32_t hours, std::uint32_t minutes) {
  return (hours << 8) | minutes;
}
constexpr std::uint32_t PackedHours(PackedTime t) { return (t >> 8) & 0xFFu; }
constexpr std::uint32_t PackedMinutes(PackedTime t) { return t & 0xFFu; }

struct CalendarDate {
  std::uint32_t day = 0;
  std::uint32_t month = 0;
  std::uint32_t year = 0;
};

// The days of a month of the Gregorian calendar; 31 for a month outside 1 to 12.
inline std::uint32_t DaysInMonth(std::uint32_t month, std::uint32_t year) {
  static const std::uint32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 31;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

inline PackedTime TimeOfDay(const LocalTime& t) { return MakePackedTime(t.hour, t.minute); }
inline CalendarDate DateOf(const LocalTime& t) { return CalendarDate{t.day, t.month, t.year}; }

// The local clock read once, as the call and the bill use it.
inline PackedTime LocalTimeOfDay(Environment& env) { return TimeOfDay(env.Now()); }
inline CalendarDate LocalDate(Environment& env) { return DateOf(env.Now()); }

}  // namespace tollwick
