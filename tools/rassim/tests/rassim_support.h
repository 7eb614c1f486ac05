#pragma once
// Helpers shared by the simulator's tests: setting the simulated service's state directly, and
// running the control command as a separate process.

#include <windows.h>
#include <ras.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sim_state.h"

namespace rassim_test {

using tollwick::rassim::LinkState;

// Adds a connection to `entry` as the control command would, and returns its handle.
std::uint32_t BringUp(const std::string& entry, LinkState state = LinkState::kConnected,
                      const std::string& ip = "10.0.0.1");
void SetLinkState(const std::string& entry, LinkState state);
void TakeDown(const std::string& entry);
void SetEntries(const std::vector<std::string>& entries);

HRASCONN AsHandle(std::uint32_t id);

// The connections as RasEnumConnectionsA lists them (records of sizeof(RASCONNA)).
std::vector<RASCONNA> ListConnections();
// The entry names as RasEnumEntriesA lists them.
std::vector<std::string> ListEntries();
// rasconnstate from RasGetConnectStatusA, or -1 when the call fails.
long ConnectState(HRASCONN handle);

// A NUL-terminated text field of at most `capacity` bytes at `offset` in `record`.
std::string TextAt(const unsigned char* record, std::size_t offset, std::size_t capacity);
DWORD DwordAt(const unsigned char* record, std::size_t offset);
void PutDwordAt(unsigned char* record, std::size_t offset, DWORD value);

struct CommandResult {
  DWORD exitCode = 0xFFFFFFFF;
  std::string out;
  std::string err;
};

// Runs rassim.exe (beside this test program) with these arguments and waits for it.
CommandResult RunRassim(const std::vector<std::string>& args);

}  // namespace rassim_test
