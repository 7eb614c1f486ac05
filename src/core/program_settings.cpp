#include "core/program_settings.h"

#include "platform/little_endian.h"

namespace tollwick {

namespace {

constexpr const char* kAdaptersValue = "Adapters";
constexpr const char* kWarnAllowance = "WarnAllowance";

std::uint32_t ReadSwitch(const SettingsStore& store, const char* name, std::uint32_t fallback) {
  std::uint8_t defaultBytes[4];
  PutU32(defaultBytes, fallback);
  std::uint8_t bytes[4] = {};
  store.ReadRootBinary(name, bytes, sizeof bytes, defaultBytes);
  return GetU32(bytes);
}

void WriteSwitch(const SettingsStore& store, const char* name, std::uint32_t value) {
  std::uint8_t bytes[4];
  PutU32(bytes, value);
  store.WriteRootBinary(name, bytes, sizeof bytes);
}

bool ReadStoredSwitch(const SettingsStore& store, const char* name, std::uint32_t& value) {
  std::uint8_t bytes[4] = {};
  const SettingsStore::StoredValue stored =
      store.ReadAsStored(store.OpenSettingsKey(kRootPath), name, bytes, sizeof bytes);
  if (!stored.read() || stored.size != sizeof bytes) return false;
  value = GetU32(bytes);
  return true;
}

}  // namespace

void LoadProgramSettings(const SettingsStore& store, ProgramSettings& settings, TrayFlash& flash) {
  const ProgramSettings defaults;
  settings.clockIcon = ReadSwitch(store, "ClockIcon", defaults.clockIcon);
  settings.noDcc = ReadSwitch(store, "NoDCC", defaults.noDcc);
  settings.checkStatus = ReadSwitch(store, "CheckStatus", defaults.checkStatus);
  settings.warnAllowance = defaults.warnAllowance;
  ReadStoredSwitch(store, kWarnAllowance, settings.warnAllowance);
  settings.adapters = store.ReadMultiStringAsStored(store.OpenSettingsKey(kRootPath), kAdaptersValue);
  flash.flashCount = 0;
  flash.flashPhase = 0;
}

void SaveProgramSettings(const SettingsStore& store, const ProgramSettings& settings) {
  WriteSwitch(store, "ClockIcon", settings.clockIcon);
  WriteSwitch(store, "NoDCC", settings.noDcc);
  WriteSwitch(store, "CheckStatus", settings.checkStatus);
  std::uint32_t stored = 0;
  if (settings.warnAllowance != ProgramSettings{}.warnAllowance ||
      ReadStoredSwitch(store, kWarnAllowance, stored)) {
    WriteSwitch(store, kWarnAllowance, settings.warnAllowance);
  }
  SettingsKey root = store.OpenSettingsKey(kRootPath);
  if (settings.adapters.empty()) {
    store.DeleteValue(root, kAdaptersValue);
  } else {
    store.WriteMultiStringValue(root, kAdaptersValue, settings.adapters);
  }
}

}  // namespace tollwick
