#pragma once
// The texts of the dialogs' money, number and time fields, and their parsing, without a window: the
// dialog base (ui/win32/dialog.h) puts them into and takes them out of controls.
// Numbers are written with "%f" and read with a plain decimal conversion, so the decimal point is
// always "."; only the currency symbol and the currency text come from the user's locale.

#include <cstddef>
#include <cstdint>

#include "platform/packed_time.h"

namespace tollwick {

constexpr std::size_t kFieldChars = 100;  // what a field's text is read into and written from
constexpr std::int32_t kInvalidTime = -1;

// atof without its extensions: leading white space is skipped, the longest prefix that is a decimal
// number (sign, digits, ".", exponent) is converted, and text without one gives 0. "inf", "nan" and
// hexadecimal texts are not numbers here. "1.5p" reads 1.5.
double ParseNumberText(const char* text);

// "%f" cut (not rounded) to two decimals: 1.999 gives "1.99", 12 gives "12.00", -0.5 "-0.50".
void MoneyFieldText(float value, char out[kFieldChars]);

// "%f" without trailing zeros or a trailing point: 10.5 gives "10.5", 100 gives "100", 0 "0".
void NumberFieldText(float value, char out[kFieldChars]);

// "h:mm" to hour * 256 + minute. An empty part counts as 0 (":" is 0:00, "7:" 7:00, ":5" 0:05) and
// leading zeros are accepted, but hours above 23, minutes above 59, a missing colon, and any
// character other than the digits and the one colon (spaces, a second colon, a sign) give
// kInvalidTime.
std::int32_t ParseTimeText(const char* text);

// The label format with its one "%s" replaced by the currency symbol: "Daytime : %s" with "£" gives
// "Daytime : £". The format is never handed to printf, so a stray "%" in it is copied as it is; only
// the first "%s" is replaced. The result is cut to outChars - 1 characters.
void CurrencyLabelText(const char* format, const char* symbol, char* out, std::size_t outChars);

}  // namespace tollwick
