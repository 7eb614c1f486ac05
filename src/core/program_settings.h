#pragma once
// The three program switches, stored in the root key as 4-byte binary values and read by the other
// parts at the moment they need one, so a change takes effect on the next timer tick.

#include <cstdint>
#include <string>
#include <vector>

#include "core/tray_flash.h"
#include "platform/settings_store.h"

namespace tollwick {

struct ProgramSettings {
  std::uint32_t clockIcon = 0;    // "ClockIcon": the on-line tray icon is the clock face
  std::uint32_t noDcc = 1;        // "NoDCC": a Direct Cable Connection does not count
  std::uint32_t checkStatus = 0;  // "CheckStatus": a connection counts once it is connected
  // "Adapters" (REG_MULTI_SZ): the aliases of the network connections also timed, in the order they
  // were chosen; none, and nothing stored, until the user chooses one.
  std::vector<std::u16string> adapters;
};

// Reads "ClockIcon", "NoDCC" and "CheckStatus" in that order (a missing one takes its default and is
// written back) and "Adapters" as stored, then stops any tray flash.
void LoadProgramSettings(const SettingsStore& store, ProgramSettings& settings, TrayFlash& flash);
// Writes the three switches in the same order, then "Adapters", or deletes it when none is chosen.
void SaveProgramSettings(const SettingsStore& store, const ProgramSettings& settings);

}  // namespace tollwick
