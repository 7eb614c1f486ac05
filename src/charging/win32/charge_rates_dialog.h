#pragma once
// The Charge Rates dialog: the daytime window and the three per-minute rates of one profile. It
// writes into the rates only on OK, and only once every field is valid.

#include <windows.h>

#include "charging/charge_profile.h"
#include "platform/environment.h"

namespace tollwick {

// Modal over `owner`; true after OK, with the entered values in `rates`, false after Cancel with
// `rates` untouched. A time that is not h:mm of a day or a negative rate is refused with a message
// box naming the field, and the dialog stays open.
// The rate labels carry the environment's currency symbol.
bool ShowChargeRatesDialog(HWND owner, CallChargeInfo& rates, Environment& environment);

}  // namespace tollwick
