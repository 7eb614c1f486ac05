#include "sim_store.h"

#include <windows.h>

namespace tollwick {
namespace rassim {

const char kStoreKey[] = "Software\\Tollwick RAS Simulator";

namespace {

constexpr char kEntriesValue[] = "Entries";
constexpr char kConnectionsValue[] = "Connections";
constexpr char kNextHandleValue[] = "NextHandle";
constexpr char kTrafficValue[] = "Traffic";
constexpr int kReadTries = 4;

class Key {
 public:
  Key() = default;
  ~Key() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;

  bool Open(REGSAM access) {
    return RegOpenKeyExA(HKEY_CURRENT_USER, kStoreKey, 0, access, &key_) == ERROR_SUCCESS;
  }
  bool Create() {
    return RegCreateKeyExA(HKEY_CURRENT_USER, kStoreKey, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                           nullptr, &key_, nullptr) == ERROR_SUCCESS;
  }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

std::vector<std::string> ReadMultiString(const char* name) {
  Key key;
  if (!key.Open(KEY_QUERY_VALUE)) return {};
  std::string data;
  // The value may grow between the size query and the read when a control command writes at the
  // same time; ask again in that case.
  for (int attempt = 0; attempt < kReadTries; ++attempt) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_MULTI_SZ) {
      return {};
    }
    data.assign(size, '\0');
    LONG result = RegQueryValueExA(key.get(), name, nullptr, &type,
                                   reinterpret_cast<BYTE*>(data.data()), &size);
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS || type != REG_MULTI_SZ) return {};
    return DecodeMultiString(data.data(), size);
  }
  return {};
}

std::uint32_t ReadNextHandle(HKEY key) {
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (RegQueryValueExA(key, kNextHandleValue, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                       &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(value) || value == 0) {
    return kFirstHandle;
  }
  return value;
}

bool WriteMultiString(HKEY key, const char* name, const std::vector<std::string>& texts) {
  const std::string data = EncodeMultiString(texts);
  return RegSetValueExA(key, name, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.data()),
                        static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool WriteDword(HKEY key, const char* name, std::uint32_t value) {
  const DWORD data = value;
  return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                        sizeof(data)) == ERROR_SUCCESS;
}

}  // namespace

std::vector<std::string> LoadEntries() { return CleanEntries(ReadMultiString(kEntriesValue)); }

std::vector<Connection> LoadConnections(bool withTraffic) {
  std::vector<Connection> connections = DecodeConnections(ReadMultiString(kConnectionsValue));
  if (withTraffic) DecodeTraffic(ReadMultiString(kTrafficValue), &connections);
  return connections;
}

SimState LoadState() {
  SimState state;
  state.entries = LoadEntries();
  state.connections = LoadConnections(true);
  Key key;
  if (key.Open(KEY_QUERY_VALUE)) state.nextHandle = ReadNextHandle(key.get());
  return state;
}

bool SaveState(const SimState& state) {
  Key key;
  if (!key.Create()) return false;
  // The handle count first: a connection is never visible before its handle is spent.
  // Traffic last: its records name connections by handle, so a reader in between sees a new
  // connection without traffic, or the traffic of one that went down, and ignores the latter.
  return WriteDword(key.get(), kNextHandleValue, state.nextHandle) &&
         WriteMultiString(key.get(), kEntriesValue, state.entries) &&
         WriteMultiString(key.get(), kConnectionsValue, EncodeConnections(state.connections)) &&
         WriteMultiString(key.get(), kTrafficValue, EncodeTraffic(state.connections));
}

std::uint64_t Now() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const std::uint64_t ticks = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) |
                              now.dwLowDateTime;
  return ticks / 10000;  // 100-nanosecond ticks to milliseconds
}

bool ResetState() {
  SimState state;
  Key key;
  if (key.Open(KEY_QUERY_VALUE)) state.nextHandle = ReadNextHandle(key.get());
  return SaveState(state);
}

StoreLock::StoreLock() : mutex_(CreateMutexA(nullptr, FALSE, "Tollwick RAS Simulator store")) {
  // An abandoned mutex (a command killed half-way) still gives ownership: the state it left is
  // whole, because each value is written in one call.
  if (mutex_ != nullptr) WaitForSingleObject(mutex_, INFINITE);
}

StoreLock::~StoreLock() {
  if (mutex_ != nullptr) {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
}

}  // namespace rassim
}  // namespace tollwick
