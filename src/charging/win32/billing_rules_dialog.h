#pragma once
// The Billing Rules dialog: how an account's operator bills a call beyond its rates (charging steps,
// the rate at the start, a connection fee, rounding up), its price of data, and its plan. It writes
// into the records only on OK, and only once every field is valid.

#include <windows.h>

#include "charging/charge_profile.h"
#include "platform/environment.h"

namespace tollwick {

// Modal over `owner`; true after OK with the entered values in `rules` and `plan`, false after
// Cancel with both untouched. A field out of its range (an increment of 0, a period or step above
// its bound, a negative amount or one above kLargestAmount, a day that is not 1 to 31) is refused
// with a message box naming it, and the dialog stays open. The amount labels carry the
// environment's currency symbol.
bool ShowBillingRulesDialog(HWND owner, BillingRules& rules, PlanSettings& plan,
                            Environment& environment);

}  // namespace tollwick
