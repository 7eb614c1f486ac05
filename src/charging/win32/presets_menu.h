#pragma once
// The popup menu of discount presets that the Add Discount dialog offers.

#include <windows.h>

#include "platform/settings_store.h"

namespace tollwick {

// Appends one item per stored preset, in the registry's enumeration order, to an empty popup menu:
// the preset's name as text, firstId + position as command and the position as item data. With no
// presets the menu holds one grayed, disabled "No presets" item (command firstId, item data 1).
void FillPresetsMenu(HMENU menu, const SettingsStore& store, UINT firstId);

}  // namespace tollwick
