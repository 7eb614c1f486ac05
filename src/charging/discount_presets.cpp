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
  return store.SubkeyNames(OpenPresetsKey(store));
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
