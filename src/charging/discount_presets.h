#pragma once
// Discount presets: named discounts kept apart from every account under ".Presets\Discounts", one
// key per preset with the fourteen values of a discount, so that a discount set up once can be
// filled into the Add Discount dialog for any account. And the values a new discount starts from.
//
// A preset is stored under one key named after it, as a discount of a profile is (DiscountKeyName):
// an empty name is stored as "Discount" and a backslash as "/", so a name never puts values on the
// presets key itself or makes nested keys. Loading maps the name the same way, so either spelling
// finds the preset, and the list shows the stored name.

#include <string>
#include <vector>

#include "charging/charge_profile.h"
#include "platform/settings_store.h"

namespace tollwick {

// The stored presets' names in the registry's enumeration order (creates the presets key when
// absent). A key whose name does not fit a name field could only be opened under a cut name, which
// would be another key: it is left out.
std::vector<std::string> PresetNames(const SettingsStore& store);

// Fills the discount from the preset named by its name; absent values take the discount defaults
// and are written back. The name stays as it is.
void LoadPreset(const SettingsStore& store, Discount& discount);

// Stores the discount as the preset of its name, replacing one of that name (registry names ignore
// case) and keeping all others.
void SavePreset(const SettingsStore& store, const Discount& discount);

}  // namespace tollwick
