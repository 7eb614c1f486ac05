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
  // "WarnAllowance": a notice when an allowance of the plan nears its end. Stored only once changed,
  // so a tree that never changed it keeps its bytes.
  std::uint32_t warnAllowance = 1;
  // "Adapters" (REG_MULTI_SZ): the aliases of the network connections also timed, in the order they
  // were chosen; none, and nothing stored, until the user chooses one.
  std::vector<std::u16string> adapters;
};

// Reads "ClockIcon", "NoDCC" and "CheckStatus" in that order (a missing one takes its default and is
// written back), then "WarnAllowance" and "Adapters" as stored (a missing one takes its default,
// written nowhere), then stops any tray flash.
void LoadProgramSettings(const SettingsStore& store, ProgramSettings& settings, TrayFlash& flash);
// Writes the three switches in the same order; "WarnAllowance" only when stored or no longer its
// default; then "Adapters", or deletes it when none is chosen.
void SaveProgramSettings(const SettingsStore& store, const ProgramSettings& settings);

}  // namespace tollwick
