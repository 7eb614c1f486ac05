#pragma once
// The one text of an amount of money, of a duration or time of day, and of a date, shared by the
// tray tip, the dialogs, the Statistics and Bill tabs and the printed bill, so that one value reads
// the same everywhere; and the sum of two durations.

#include <cstddef>
#include <cstdint>

#include "platform/environment.h"
#include "platform/packed_time.h"

namespace tollwick {

constexpr std::size_t kMoneyTextChars = 20;       // 19 characters and the terminator
constexpr std::size_t kPackedTimeTextChars = 8;   // "255:255" and the terminator
constexpr std::size_t kDateTextChars = 36;        // three "%i" fields of any 32-bit value

// The amount in the user's currency format (through Environment::FormatCurrency, which rounds).
// An amount whose "%f" text does not fit 19 characters (at or above 10^12, at or below -10^11, or
// not a number), or a currency text that does not fit, gives an empty text.
void MoneyText(Environment& env, float amount, char out[kMoneyTextChars]);

// The digits MoneyText shows under a currency format of two decimals, written plainly: a minus
// sign unless the amount rounds to zero, the whole units without grouping, a dot and two decimals.
// As the currency format does, it rounds the "%f" text half away from zero: -2.005 reads "-2.01".
// Of any finite amount; empty for one that is not a number. Returns the text's length.
constexpr std::size_t kPlainMoneyTextChars = 48;  // "-", 39 digits of the largest float, ".00"
std::size_t PlainMoneyText(float amount, char out[kPlainMoneyTextChars]);

// "h:mm" from bits 8-15 and 0-7 only; the hours are not padded, the minutes get at least two digits:
// 0x0105 reads "1:05", all bits set "255:255". Returns the text's length.
std::size_t PackedTimeText(PackedTime value, char out[kPackedTimeTextChars]);

// "day/month/year" without leading zeros: "7/12/2000".
void DateText(std::uint32_t day, std::uint32_t month, std::uint32_t year, char out[kDateTextChars]);

// Minutes and hours added field by field, the minutes carried into the hours. The hours are not cut
// to 8 bits, so a running total may reach bit 16; readers see only bits 8-15.
PackedTime AddPackedTime(PackedTime a, PackedTime b);

}  // namespace tollwick
