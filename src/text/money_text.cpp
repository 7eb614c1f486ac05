#include "text/money_text.h"

#include <cmath>
#include <cstdio>

namespace tollwick {

void MoneyText(Environment& env, float amount, char out[kMoneyTextChars]) {
  out[0] = '\0';
  if (!std::isfinite(amount)) return;
  char number[kMoneyTextChars];
  int length = std::snprintf(number, sizeof number, "%f", static_cast<double>(amount));
  // A cut number text would be formatted as a different amount.
  if (length < 0 || static_cast<std::size_t>(length) >= sizeof number) return;
  if (!env.FormatCurrency(number, out, static_cast<int>(kMoneyTextChars))) out[0] = '\0';
}

void PackedTimeText(PackedTime value, char out[kPackedTimeTextChars]) {
  char minutes[4];
  std::snprintf(minutes, sizeof minutes, "%i", static_cast<int>(PackedMinutes(value)));
  const char* pad = minutes[1] == '\0' ? "0" : "";
  std::snprintf(out, kPackedTimeTextChars, "%i:%s%s", static_cast<int>(PackedHours(value)), pad,
                minutes);
}

void DateText(std::uint32_t day, std::uint32_t month, std::uint32_t year, char out[kDateTextChars]) {
  std::snprintf(out, kDateTextChars, "%i/%i/%i", static_cast<int>(day), static_cast<int>(month),
                static_cast<int>(year));
}

PackedTime AddPackedTime(PackedTime a, PackedTime b) {
  std::uint32_t minutes = PackedMinutes(a) + PackedMinutes(b);
  std::uint32_t hours = PackedHours(a) + PackedHours(b);
  if (minutes >= 60) {
    hours += minutes / 60;
    minutes %= 60;
  }
  return (hours << 8) | minutes;
}

}  // namespace tollwick
