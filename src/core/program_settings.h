#pragma once
// The three program switches, stored in the root key as 4-byte binary values and read by the other
// parts at the moment they need one, so a change takes effect on the next timer tick.

#include <cstdint>

#include "core/tray_flash.h"
#include "platform/settings_store.h"

namespace tollwick {

struct ProgramSettings {
  std::uint32_t clockIcon = 0;    // "ClockIcon": the on-line tray icon is the clock face
  std::uint32_t noDcc = 1;        // "NoDCC": a Direct Cable Connection does not count
  std::uint32_t checkStatus = 0;  // "CheckStatus": a connection counts once it is connected
};

// Reads "ClockIcon", "NoDCC" and "CheckStatus" in that order (a missing one takes its default and is
// written back), then stops any tray flash.
void LoadProgramSettings(const SettingsStore& store, ProgramSettings& settings, TrayFlash& flash);
// Writes the three switches in the same order.
void SaveProgramSettings(const SettingsStore& store, const ProgramSettings& settings);

}  // namespace tollwick
