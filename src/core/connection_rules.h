#pragma once
// The window-free rules of connection detection.

#include <optional>

#include "core/adapter_probe.h"
#include "core/connection_probe.h"
#include "core/program_settings.h"

namespace tollwick {

constexpr const char* kDirectCableConnection = "Direct Cable Connection";
constexpr const char* kUnavailableIp = "Unavailable";

// True when the text is at most 15 characters and holds exactly three dots. Digits are not checked.
bool IsDottedQuad(const char* text);

// True when the entry name begins with "Direct Cable Connection" (case-sensitive).
bool IsDirectCableConnection(const char* entryName);

// The first listed connection when it counts as active under the switches: with "CheckStatus" only
// once the service reports it connected, and with "NoDCC" never a Direct Cable Connection. When the
// service lists none, the first chosen network connection (in the stored order) that is up, named
// by its account (AdapterAccountName); the adapters are not asked while none is chosen. The
// switches are read at each call, so a change takes effect on the next tick.
std::optional<ListedConnection> FindActiveConnection(ConnectionProbe& probe, AdapterProbe& adapters,
                                                     const ProgramSettings& settings);

}  // namespace tollwick
