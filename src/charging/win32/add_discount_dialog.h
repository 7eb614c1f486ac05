#pragma once
// The modal dialog that shows and edits one discount, with access to the discount presets: a popup
// menu fills the controls from a stored preset, and a button stores the controls as a preset.

#include <windows.h>

#include "charging/charge_profile.h"
#include "platform/settings_store.h"

namespace tollwick {

// IDOK: the discount now holds the control values, unchecked (an empty name, any percentage and a
// time that is not h:mm, stored as -1, are taken as they are). IDCANCEL: the discount is unchanged,
// whatever presets were chosen meanwhile. Presets are read and saved through the store.
INT_PTR ShowAddDiscountDialog(HWND owner, Discount& discount, const SettingsStore& store);

}  // namespace tollwick
