#include "text/money_text.h"

#include <cmath>
#include <charconv>
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

std::size_t PlainMoneyText(float amount, char out[kPlainMoneyTextChars]) {
  out[0] = '\0';
  if (!std::isfinite(amount)) return 0;
  const double magnitude = std::fabs(static_cast<double>(amount));
  char* end = out;
  if (amount < 0.0f) *end++ = '-';  // taken back below if the amount rounds to zero
  if (magnitude >= 16777216.0) {    // 2^24: every float this large is a whole number
    end += std::snprintf(end, kPlainMoneyTextChars - 1, "%.0f.00", magnitude);
    return static_cast<std::size_t>(end - out);
  }
  // Exact: a float's 24-bit mantissa times 10^6 fits a double's 53 bits, so these are the "%f"
  // digits. Where the millionths are a tie (a multiple of 1/128), either way gives the same cents.
  const auto millionths = static_cast<std::uint64_t>(magnitude * 1e6 + 0.5);  // exact too
  const std::uint64_t cents = (millionths + 5000) / 10000;
  if (cents == 0) end = out;
  end = std::to_chars(end, out + kPlainMoneyTextChars, cents / 100).ptr;
  *end++ = '.';
  *end++ = static_cast<char>('0' + cents / 10 % 10);
  *end++ = static_cast<char>('0' + cents % 10);
  *end = '\0';
  return static_cast<std::size_t>(end - out);
}

std::size_t PackedTimeText(PackedTime value, char out[kPackedTimeTextChars]) {
  // By hand rather than through printf: the export writes three of these per item.
  char* end = std::to_chars(out, out + kPackedTimeTextChars, PackedHours(value)).ptr;
  *end++ = ':';
  const std::uint32_t minutes = PackedMinutes(value);
  if (minutes < 10) *end++ = '0';
  end = std::to_chars(end, out + kPackedTimeTextChars - 1, minutes).ptr;
  *end = '\0';
  return static_cast<std::size_t>(end - out);
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
