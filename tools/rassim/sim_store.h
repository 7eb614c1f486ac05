#pragma once
// The simulator's state in the registry, under HKEY_CURRENT_USER\Software\Tollwick RAS Simulator:
//   "Entries"     REG_MULTI_SZ  phone-book entry names, in order
//   "Connections" REG_MULTI_SZ  one "<handle> <state> <ip or none> <entry name>" per connection
//   "NextHandle"  REG_DWORD     the handle the next connection gets
//   "Traffic"     REG_MULTI_SZ  the byte counters of the connections that have any (sim_state.h)
// Every read goes to the registry, so the control command and any program that loaded the DLL see
// one state through the wineserver. Each list is one value, written in one call, so a reader never
// sees half of a change to it.

#include <cstdint>
#include <string>
#include <vector>

#include "sim_state.h"

namespace tollwick {
namespace rassim {

extern const char kStoreKey[];  // relative to HKEY_CURRENT_USER

// Missing or damaged data reads as empty; damaged records are skipped.
std::vector<std::string> LoadEntries();
// The connections, with their traffic only when asked for: it is one more read, and only the
// statistics call needs it.
std::vector<Connection> LoadConnections(bool withTraffic = false);
SimState LoadState();

// Writes the whole state; false when the registry refuses.
bool SaveState(const SimState& state);

// The clock the traffic rates run on, in milliseconds: system time, which every process of the
// prefix shares and which lasts across a restart of the wineserver.
std::uint64_t Now();

// Empties the phone book and drops every connection. The handle count goes on, so no handle is
// ever given twice.
bool ResetState();

// Serialises read-modify-write sequences of concurrent control commands.
class StoreLock {
 public:
  StoreLock();
  ~StoreLock();
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;

 private:
  void* mutex_;
};

}  // namespace rassim
}  // namespace tollwick
