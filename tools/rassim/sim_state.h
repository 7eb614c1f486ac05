#pragma once
// What the simulated Remote Access Service knows: the phone book and the connections that are up.
// This file holds the model and its text form in the registry; it needs no windows.h, so the rules
// for names, addresses and states stay apart from the Win32 code that stores and serves them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tollwick {
namespace rassim {

// RAS_MaxEntryName and RAS_MaxIpAddress: the longest texts the service's records can carry.
constexpr std::size_t kMaxEntryName = 256;
constexpr std::size_t kMaxIpAddress = 15;

// The first handle given out; handles then count up and are never reused, not even after a reset,
// so a handle kept by a caller can never name a later connection.
constexpr std::uint32_t kFirstHandle = 0x1001;

// How far a connection has come. The service reports these as RASCS_ConnectDevice,
// RASCS_Authenticate and RASCS_Connected.
enum class LinkState { kConnecting, kAuthenticating, kConnected };

// The bytes a connection has moved, as the service counts them: 32-bit counters that wrap at 4 GiB.
// The counts were taken at `since` and grow from then at the steady rates, so they go on growing
// between two commands with nothing running.
struct Traffic {
  std::uint32_t received = 0;
  std::uint32_t sent = 0;
  std::uint32_t receiveRate = 0;  // bytes a second
  std::uint32_t sendRate = 0;
  std::uint64_t since = 0;  // milliseconds of system time since 1601
  bool statsFail = false;   // the statistics call fails for this connection
};

struct Connection {
  std::uint32_t handle = 0;
  LinkState state = LinkState::kConnected;
  std::string ip;  // empty: the IP control protocol was not negotiated
  std::string entry;
  Traffic traffic;
};

struct SimState {
  std::vector<std::string> entries;      // the phone book, in the order the entries were added
  std::vector<Connection> connections;   // in the order they came up
  std::uint32_t nextHandle = kFirstHandle;
};

// "connecting", "authenticating", "connected".
const char* LinkStateName(LinkState state);
bool ParseLinkState(std::string_view text, LinkState* state);

// A decimal number from 0 to 4294967295, as a counter or a rate is given.
bool ParseCount(std::string_view text, std::uint32_t* count);

// Moves the counts on to `now` at the rates, wrapping as the service's counters do. A clock that
// went back moves nothing: counters never run backwards.
void AdvanceTraffic(Traffic* traffic, std::uint64_t now);
// False for counters that are zero, still and working, which need no record.
bool HasTraffic(const Traffic& traffic);

// 1 to 256 characters, no NUL.
bool IsValidEntryName(std::string_view name);
// Four decimal numbers 0 to 255 joined by '.', as the service writes them (at most 15 characters).
bool IsValidIpAddress(std::string_view text);
// Phone-book entry names are unique without regard to case (ASCII letters).
bool SameEntryName(std::string_view a, std::string_view b);

// Index of the entry or connection with that name, or -1.
std::ptrdiff_t FindEntry(const SimState& state, std::string_view name);
std::ptrdiff_t FindConnection(const SimState& state, std::string_view entryName);
const Connection* FindConnectionByHandle(const std::vector<Connection>& connections,
                                         std::uint32_t handle);

// REG_MULTI_SZ data: each text followed by NUL, then one more NUL. Texts must not be empty (an empty
// text would end the list).
std::string EncodeMultiString(const std::vector<std::string>& texts);
// Reads up to `size` bytes; a missing final terminator is tolerated.
std::vector<std::string> DecodeMultiString(const char* data, std::size_t size);

// One text per connection, "<handle> <state> <ip or none> <entry name>": the name comes last so that
// it may hold spaces, and each connection is one text so that one damaged record loses only itself.
std::string EncodeConnection(const Connection& connection);
// False for a malformed text (bad handle, state, address or name).
bool DecodeConnection(std::string_view text, Connection* connection);

std::vector<std::string> EncodeConnections(const std::vector<Connection>& connections);
// Skips malformed records and repeated handles.
std::vector<Connection> DecodeConnections(const std::vector<std::string>& texts);
// One text per connection that has traffic, kept apart from the connection's own text so that a
// connection that never moved a byte is stored as before: "<handle> <received> <sent>
// <received per second> <sent per second> <since> <0, or 1 when the statistics call fails>".
std::vector<std::string> EncodeTraffic(const std::vector<Connection>& connections);
// Gives each connection its record; malformed records and those of other handles are skipped.
void DecodeTraffic(const std::vector<std::string>& texts, std::vector<Connection>* connections);

// Drops invalid and repeated names.
std::vector<std::string> CleanEntries(const std::vector<std::string>& names);

}  // namespace rassim
}  // namespace tollwick
