#include "charging/discount_presets.h"

namespace tollwick {

namespace {

constexpr const char* kPresetsPath = ".Presets\\Discounts";

SettingsKey OpenPresetsKey(const SettingsStore& store) {
  char path[512];
  RootSubkeyPath(kPresetsPath, path, sizeof path);
  return store.OpenSettingsKey(path);
}

SettingsKey OpenPresetKey(const SettingsStore& store, const SettingsKey& presets,
                          const char* name) {
  char keyName[kNameChars];
  DiscountKeyName(name, 1, keyName);
  return store.OpenSubkey(presets, keyName);
}

}  // namespace

std::vector<std::string> PresetNames(const SettingsStore& store) {
  std::vector<std::string> names;
  SettingsKey presets = OpenPresetsKey(store);
  Registry& registry = store.registry();
  std::uint32_t count = 0;
  if (!presets.valid() || registry.QuerySubkeyCount(presets.get(), &count) != kRegSuccess) {
    return names;
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    char name[kNameChars];
    std::uint32_t nameChars = kNameChars;
    const long result = registry.EnumKey(presets.get(), i, name, &nameChars);
    if (result == kRegNoMoreItems) break;
    if (result == kRegSuccess) names.emplace_back(name);
  }
  return names;
}

void LoadPreset(const SettingsStore& store, Discount& discount) {
  SettingsKey presets = OpenPresetsKey(store);
  SettingsKey key = OpenPresetKey(store, presets, discount.name);
  LoadDiscount(store, key, discount);
}

void SavePreset(const SettingsStore& store, const Discount& discount) {
  SettingsKey presets = OpenPresetsKey(store);
  SettingsKey key = OpenPresetKey(store, presets, discount.name);
  SaveDiscount(store, key, discount);
}

}  // namespace tollwick
