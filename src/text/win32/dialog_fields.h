#pragma once
// The only way the dialogs show and take money, plain numbers and times of day in their controls,
// so that every dialog writes and parses such fields alike.

#include <windows.h>

#include <cstdint>

#include "platform/environment.h"
#include "platform/packed_time.h"

namespace tollwick {

// The control's text (at most 99 characters) read as a decimal number; bad text reads as 0.
double GetNumberField(HWND dialog, int id);
// Exactly two decimals, cut: 1.999 shows "1.99".
void SetMoneyField(HWND dialog, int id, float value);
// Without trailing zeros: 20 shows "20", 10.5 "10.5".
void SetNumberField(HWND dialog, int id, float value);
// The amount in the user's currency format (empty when it cannot be formatted).
void SetCurrencyField(HWND dialog, int id, float value, Environment& env);
void SetCurrencyField(HWND dialog, int id, float value);
// "h:mm" read as a PackedTime, or kInvalidTime (-1).
std::int32_t GetTimeField(HWND dialog, int id);
// "h:mm" from bits 8-15 and 0-7.
void SetTimeField(HWND dialog, int id, PackedTime time);
// The label format (one "%s") with the user's currency symbol in it: "Daytime : %s" -> "Daytime : £".
void SetCurrencyLabel(HWND dialog, int id, const char* format, Environment& env);
void SetCurrencyLabel(HWND dialog, int id, const char* format);

}  // namespace tollwick
